#include "web/metrics.h"

#include <charconv>
#include <cmath>

#include "console/f_main.h"
#include "display/datagram_failures.h"
#include "gateway/gateway.h"
#include "shared/shared_state.h"

namespace plx {
namespace {

// Whole numbers as such ("1000000", not "1e+06"); others in their shortest exact form.
std::string numberText(double value) {
    if (std::isnan(value)) return "NaN";
    if (value == std::floor(value) && std::fabs(value) < 9e15)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

MetricSample plain(double value) {
    return {{}, value};
}

template <class Key>
std::vector<MetricSample> byLabel(const char* label, const std::map<Key, long long>& counts) {
    std::vector<MetricSample> samples;
    for (const auto& [key, count] : counts) {
        std::string value;
        if constexpr (std::is_same_v<Key, int>)
            value = std::to_string(key);
        else
            value = key;
        samples.push_back({std::string(label) + "=\"" + value + "\"", static_cast<double>(count)});
    }
    return samples;
}

}  // namespace

std::string metricsText(const std::vector<MetricFamily>& families) {
    std::string text;
    for (const MetricFamily& family : families) {
        const std::string name(family.name);
        text += "# HELP " + name + " " + std::string(family.help) + "\n# TYPE " + name + " " +
                std::string(family.type) + "\n";
        for (const MetricSample& sample : family.samples) {
            text += name + (sample.labels.empty() ? "" : "{" + sample.labels + "}") + " " +
                    numberText(sample.value) + "\n";
        }
    }
    return text;
}

std::vector<MetricFamily> gatewayMetrics(Gateway& gateway, const ConsoleCounts& console) {
    const Statistics& s = gateway.state().STATS;
    Platform& platform = gateway.platform();
    const long long nowMs = platform.uptimeMs();
    const ProcessFigures process = platform.processFigures();
    const auto labelled = [](std::string_view label, std::string_view value, long long count) {
        return MetricSample{std::string(label) + "=\"" + std::string(value) + "\"",
                            static_cast<double>(count)};
    };
    const auto drop = [&labelled](const char* cause, long long count) {
        return labelled("cause", cause, count);
    };
    std::vector<MetricSample> failed;
    for (const DatagramFailure& failure : kDatagramFailures) {
        failed.push_back(labelled("reason", failure.reason, s.datagramsOf(failure.outcome)));
    }
    const double dataAge =
        s.hostDataAtMs < 0 ? NAN : static_cast<double>((nowMs - s.hostDataAtMs) / 1000);
    return {
        {"plyxen400_build_info",
         "gauge",
         "The gateway's version, in its label.",
         {{"version=\"" + std::string(F_MAIN::kVersion) + "\"", 1}}},
        {"plyxen400_link_state",
         "gauge",
         "Host link: 0 OFFLINE, 1 ONLINE, 2 PAUSE.",
         {plain(gateway.state().LINK_STATE)}},
        {"plyxen400_host_connects_total",
         "counter",
         "Connections to the host made.",
         {plain(static_cast<double>(s.connects))}},
        {"plyxen400_host_drops_total",
         "counter",
         "Links lost while ONLINE, by cause.",
         {drop("host_close", s.dropsHostClose), drop("error", s.dropsError),
          drop("watchdog", s.dropsWatchdog), drop("operator", s.dropsOperator)}},
        {"plyxen400_host_received_bytes_total",
         "counter",
         "Bytes received from the host.",
         {plain(static_cast<double>(s.hostBytes))}},
        {"plyxen400_host_frames_total",
         "counter",
         "Display commands cut out of the host stream.",
         {plain(static_cast<double>(s.hostFrames))}},
        {"plyxen400_commands_sent_total",
         "counter",
         "Display commands sent to terminals.",
         {plain(static_cast<double>(s.commandsSent))}},
        {"plyxen400_datagrams_sent_total",
         "counter",
         "Datagrams handed to the network.",
         {plain(static_cast<double>(s.datagramsOf(DatagramOutcome::Left)))}},
        {"plyxen400_datagrams_failed_total", "counter", "Datagrams given up, by reason.", failed},
        {"plyxen400_datagram_send_waits_total",
         "counter",
         "Waits for a full socket to take datagrams.",
         {plain(static_cast<double>(s.datagramSendWaits))}},
        {"plyxen400_commands_already_shown_total",
         "counter",
         "Display commands dropped because the terminal already showed them.",
         {plain(static_cast<double>(s.commandsAlreadyShown))}},
        {"plyxen400_unknown_terminal_warnings_total",
         "counter",
         "Host commands naming a terminal that is not in the list.",
         {plain(static_cast<double>(s.unknownTerminals))}},
        {"plyxen400_log_write_failures_total",
         "counter",
         "Event lines the day's log file refused.",
         {plain(static_cast<double>(s.logWriteFailures))}},
        {"plyxen400_list_write_failures_total",
         "counter",
         "Failed writes of Products.cfg.",
         {plain(static_cast<double>(s.listWriteFailures))}},
        {"plyxen400_journal_dropped_lines_total",
         "counter",
         "Journal lines dropped for a slow reader.",
         {plain(static_cast<double>(platform.journalLinesDropped()))}},
        {"plyxen400_host_data_age_seconds",
         "gauge",
         "Seconds since the host last sent data.",
         {plain(dataAge)}},
        {"plyxen400_uptime_seconds",
         "gauge",
         "Seconds since the gateway started.",
         {plain(static_cast<double>(nowMs / 1000))}},
        {"plyxen400_terminals",
         "gauge",
         "Terminals in the list.",
         {plain(gateway.window<F_MAIN>().LST_PRODUIT.count())}},
        {"plyxen400_console_requests_total", "counter",
         "Requests the web console answered, by status.", byLabel("status", console.answers)},
        {"plyxen400_console_refusals_total", "counter",
         "Requests and connections the web console refused, by reason.",
         byLabel("reason", console.refusals)},
        {"process_start_time_seconds",
         "gauge",
         "Start time of the process since unix epoch in seconds.",
         {plain(process.startTimeSeconds)}},
        {"process_resident_memory_bytes",
         "gauge",
         "Resident memory size in bytes.",
         {plain(static_cast<double>(process.residentBytes))}},
        {"process_open_fds",
         "gauge",
         "Number of open file descriptors.",
         {plain(static_cast<double>(process.openFiles))}},
    };
}

}  // namespace plx
