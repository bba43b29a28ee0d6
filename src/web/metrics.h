#pragma once
// The figures monitoring scrapes, in the Prometheus text format: one table of metric
// families (each name written once, with its type, help and samples) and one writer.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace plx {

class Gateway;

struct MetricSample {
    std::string labels;  // `cause="error"`, or empty
    double value = 0;
};

struct MetricFamily {
    std::string_view name;
    std::string_view type;  // "counter" or "gauge"
    std::string_view help;
    std::vector<MetricSample> samples;
};

std::string metricsText(const std::vector<MetricFamily>& families);

// What the web console counts of itself: its answers by status, its refusals (its own and
// its server's) by reason.
struct ConsoleCounts {
    std::map<int, long long> answers;
    std::map<std::string, long long> refusals;
};

std::vector<MetricFamily> gatewayMetrics(Gateway& gateway, const ConsoleCounts& console);

}  // namespace plx
