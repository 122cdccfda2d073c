// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One machine-readable line per figure, beside the human-readable output, for scripts/bench.sh
// to gather into its table:
//   RESULT <tab> name <tab> figure <tab> unit <tab> reference <tab> ratio <tab> target <tab>
//   verdict
// The verdict is "met", "missed" or "-" (a figure shown for comparison, with no target). A
// benchmark's exit code is exitCode(): 1 when any of its targets was missed.

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace vimbrel::bench {

inline constexpr double none = std::numeric_limits<double>::quiet_NaN();

// Milliseconds since `t` started.
inline double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The middle figure (the upper of the middle two for an even count); 0 for none.
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

struct Target {
    enum On { nothing, figure, ratio };
    enum Cmp { atMost, below, atLeast };
    On on = nothing;
    Cmp cmp = atMost;
    double limit = 0;

    bool met(double fig, double rat) const {
        const double x = on == figure ? fig : rat;
        if (std::isnan(x)) // a figure that could not be measured meets nothing
            return false;
        return cmp == atMost ? x <= limit : cmp == below ? x < limit : x >= limit;
    }
};

inline Target ratioAtMost(double x) {
    return {Target::ratio, Target::atMost, x};
}
inline Target ratioAtLeast(double x) {
    return {Target::ratio, Target::atLeast, x};
}
inline Target figureAtMost(double x) {
    return {Target::figure, Target::atMost, x};
}
inline Target figureBelow(double x) {
    return {Target::figure, Target::below, x};
}

// "ratio <= 0.5x", "< 2 ms", "-" for none.
inline std::string describe(const Target& t, const char* unit) {
    if (t.on == Target::nothing)
        return "-";
    const char* cmp = t.cmp == Target::atMost ? "<=" : t.cmp == Target::below ? "<" : ">=";
    char buf[64];
    if (t.on == Target::ratio)
        std::snprintf(buf, sizeof buf, "ratio %s %gx", cmp, t.limit);
    else
        std::snprintf(buf, sizeof buf, "%s %g %s", cmp, t.limit, unit);
    return buf;
}

inline int& missedTargets() {
    static int n = 0;
    return n;
}

inline int exitCode() {
    return missedTargets() > 0 ? 1 : 0;
}

// Prints the line; returns whether the target was met (true when there is none).
inline bool result(const char* name, double figure, const char* unit, double reference,
                   double ratio, Target target = {}) {
    const auto num = [](char* buf, std::size_t size, double x) {
        if (std::isnan(x))
            std::snprintf(buf, size, "-");
        else
            std::snprintf(buf, size, "%.3f", x);
    };
    char fig[32], ref[32], rat[32];
    num(fig, sizeof fig, figure);
    num(ref, sizeof ref, reference);
    if (std::isnan(ratio))
        std::snprintf(rat, sizeof rat, "-");
    else
        std::snprintf(rat, sizeof rat, "%.3fx", ratio);
    const bool met = target.on == Target::nothing || target.met(figure, ratio);
    if (!met)
        ++missedTargets();
    std::printf("RESULT\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", name, fig, unit, ref, rat,
                describe(target, unit).c_str(),
                target.on == Target::nothing ? "-"
                : met                        ? "met"
                                             : "missed");
    std::fflush(stdout);
    return met;
}

} // namespace vimbrel::bench
