#pragma once
// The benchmark's figures: each beside the raw limit of the same machine measured in the same
// run, the median of the runs printed with the limit's absolute value and the aim's verdict.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "loopback_terminals.h"

namespace plx::bench {

struct Figure {
    std::string name, unit, rawIs;
    std::vector<double> gateway, raw;
    std::vector<double> sendtoUs;  // what one sendto of the raw limit took, where it has them
};

// What a ratio should be: at most (a time) or at least (a rate) so much.
struct Aim {
    enum class Kind { None, AtMost, AtLeast } kind = Kind::None;
    double ratio = 0;
    std::string text() const {
        if (kind == Kind::None) return {};
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s %.2f", kind == Kind::AtMost ? "<=" : ">=", ratio);
        return buffer;
    }
    bool met(double value) const {
        return kind == Kind::None || (kind == Kind::AtMost ? value <= ratio : value >= ratio);
    }
};
constexpr Aim atMost(double ratio) {
    return {Aim::Kind::AtMost, ratio};
}
constexpr Aim atLeast(double ratio) {
    return {Aim::Kind::AtLeast, ratio};
}

class Table {
  public:
    // `sendtoUs`: the microseconds of one sendto in the raw limit, for a limit made of them.
    void add(const std::string& name, const std::string& unit, const std::string& rawIs,
             double gateway, double raw, Aim aim = {}, double sendtoUs = 0) {
        // One row per figure and raw limit: a figure may stand beside several limits.
        const std::string key = name + '\n' + rawIs;
        Figure& figure = figures_[key];
        if (figure.name.empty()) {
            order_.push_back(key);
            figure = Figure{name, unit, rawIs, {}, {}, {}};
            aims_[key] = aim;
        }
        figure.gateway.push_back(gateway);
        figure.raw.push_back(raw);
        if (sendtoUs > 0) figure.sendtoUs.push_back(sendtoUs);
    }
    void print() const {
        std::printf("\n%-58s %12s %12s %9s %14s %9s  %s\n", "figure (median of runs)", "gateway",
                    "raw limit", "gw/raw", "aim", "1 sendto", "raw limit is");
        for (const std::string& key : order_) {
            const Figure& f = figures_.at(key);
            const double gateway = quantile(f.gateway, 0.5), raw = quantile(f.raw, 0.5);
            const std::string label = f.name + " (" + f.unit + ")";
            if (f.rawIs.empty()) {
                std::printf("%-58s %12.*f %12s %9s %14s %9s  (no raw limit) (n=%zu)\n",
                            label.c_str(), precision(gateway), gateway, "-", "-", "", "",
                            f.gateway.size());
                continue;
            }
            const Aim& aim = aims_.at(key);
            const std::string verdict =
                aim.kind == Aim::Kind::None
                    ? ""
                    : aim.text() + (aim.met(gateway / raw) ? " met" : " MISSED");
            char sendto[16] = "";
            if (!f.sendtoUs.empty())
                std::snprintf(sendto, sizeof sendto, "%.2f us", quantile(f.sendtoUs, 0.5));
            std::printf("%-58s %12.*f %12.*f %9.3f %14s %9s  %s (n=%zu)\n", label.c_str(),
                        precision(gateway), gateway, precision(raw), raw, gateway / raw,
                        verdict.c_str(), sendto, f.rawIs.c_str(), f.gateway.size());
        }
    }

  private:
    static int precision(double value) { return value >= 100 ? 0 : value >= 1 ? 2 : 3; }
    std::map<std::string, Figure> figures_;
    std::map<std::string, Aim> aims_;
    std::vector<std::string> order_;
};

}  // namespace plx::bench
