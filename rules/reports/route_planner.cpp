// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/route_planner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <cstdint>
#include <cstdio>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/age_of_values.h"
#include "rules/reports/payoff_measures.h"
#include "rules/reports/trader_questions.h"

// How the best route is found exactly.
//
// Gold per move is a fraction, total payoff P over total moves M. Payoffs are floats of at least
// 1, so each is a whole multiple of 2^-23; scaled by the smallest power of two that makes every
// leg's payoff whole, all sums and products below are whole numbers and every comparison is
// exact. A route beats the ratio P*/M* exactly when the sum over its legs of
// payoff·M* − moves·P* is above zero, a sum that a longest-path pass over the L legs maximises.
//
// Walks (posts may repeat): start from the route with the highest payoff, then repeatedly ask
// the pass for the route that gains most against the current ratio; while it gains, it has a
// higher ratio and becomes the current route. Ratios only rise and routes are finitely many, so
// the pass ends with a gain of zero: no route does better, and among the routes that do as well
// the pass picks the one whose posts come first.
//
// Each post at most once: a depth-first search over the posts not yet visited, in post order,
// keeps the best route found so far. The same pass, run over walks that never revisit the
// start, bounds what the legs still to come can gain against that route; a branch whose bound
// shows no gain is cut. Routes met later come later in post order, so a tie is cut as well.
namespace ledgerly {
namespace {

constexpr int kPosts = kTradingPostCount;

bool neverValued(const TradeData& data, int tp) {
    // The start-up pass lowers every stamp below 11 to 10, so "at most 10" is "never".
    return data.stamp(tp) <= kNeverValuedStamp;
}

// The start-up pass leaves no value below 1 and no NaN in the table; one that got there some
// other way is taken as never valued, as that pass would take it, so that the search's scale
// stays bounded.
float searchedPayoff(float value) {
    return value >= kNeverValued && std::isfinite(value) ? value : kNeverValued;
}

// The slot of `from`'s goods that `to` pays most for; the lower slot wins a tie and an empty
// slot never counts. 0 when `from` sells nothing.
int cargoSlot(const TradeData& data, int from, int to) {
    int best = 0;
    float bestValue = 0.0F;
    for (int k = 1; k <= kGoodsSlotCount; ++k) {
        if (goodsSlot(from, k) == 0)
            continue;
        const float value = searchedPayoff(payoff(data, from, k, to));
        if (best == 0 || value > bestValue) {
            best = k;
            bestValue = value;
        }
    }
    return best;
}

struct Leg {
    int slot = 0;  // 0: no leg
    float payoff = 0.0F;
    int moves = 0;
};

// Every leg the options allow, with the posts each post has a leg to, in post order.
struct LegTable {
    std::array<std::array<Leg, kPosts + 1>, kPosts + 1> leg{};
    std::array<std::array<int, kPosts>, kPosts + 1> next{};
    std::array<int, kPosts + 1> nextCount{};
};

LegTable legTable(const TradeData& data, float reading, const RouteOptions& options) {
    LegTable table;
    for (int a = 1; a <= kPosts; ++a) {
        for (int b = 1; b <= kPosts; ++b) {
            if (a == b || moves(a, b) >= kNoRouteMoves)
                continue;
            if (options.maxAgeHours &&
                (neverValued(data, b) ||
                 !(ageOfValues(reading, data.stamp(b)) <= *options.maxAgeHours)))
                continue;
            const int slot = cargoSlot(data, a, b);
            if (slot == 0)
                continue;
            table.leg[a][b] = {slot, searchedPayoff(payoff(data, a, slot, b)), moves(a, b)};
            table.next[a][table.nextCount[a]++] = b;
        }
    }
    return table;
}

// The fractional binary digits of a value of at least 1 (0 to 23).
int fractionBits(float value) {
    int exponent = 0;
    const double mantissa = std::frexp(static_cast<double>(value), &exponent);
    auto digits = static_cast<std::uint32_t>(std::ldexp(mantissa, 24));
    int bits = 24 - exponent;
    while (bits > 0 && digits % 2 == 0) {
        digits /= 2;
        --bits;
    }
    return std::max(bits, 0);
}

// A signed whole number of 192 bits in two's complement: room for every figure the search forms
// from any float price (up to 2^151 once scaled, times moves and legs), where 64 bits hold only
// realistic prices. Only what the search needs; factors are below 2^32.
class Wide {
public:
    Wide() = default;
    // Implicit, so that the search reads the same with either kind of number.
    Wide(std::int64_t v) {
        const auto bits = static_cast<std::uint64_t>(v);
        limbs_.fill(v < 0 ? 0xFFFFFFFFU : 0U);
        limbs_[0] = static_cast<std::uint32_t>(bits);
        limbs_[1] = static_cast<std::uint32_t>(bits >> 32);
    }

    friend Wide operator+(Wide a, const Wide& b) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            const std::uint64_t sum = std::uint64_t{a.limbs_[i]} + b.limbs_[i] + carry;
            a.limbs_[i] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        return a;
    }
    friend Wide operator-(Wide a, const Wide& b) {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            const std::uint64_t difference = std::uint64_t{a.limbs_[i]} - b.limbs_[i] - borrow;
            a.limbs_[i] = static_cast<std::uint32_t>(difference);
            borrow = difference >> 63;
        }
        return a;
    }
    // 0 <= factor < 2^32; right for negative numbers too, as products modulo 2^192 are.
    friend Wide operator*(Wide a, std::int64_t factor) {
        const auto f = static_cast<std::uint64_t>(factor);
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < kLimbs; ++i) {
            const std::uint64_t product = a.limbs_[i] * f + carry;
            a.limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        return a;
    }
    friend bool operator==(const Wide&, const Wide&) = default;
    friend std::strong_ordering operator<=>(const Wide& a, const Wide& b) {
        const bool aNegative = (a.limbs_[kLimbs - 1] >> 31) != 0;
        const bool bNegative = (b.limbs_[kLimbs - 1] >> 31) != 0;
        if (aNegative != bNegative)
            return aNegative ? std::strong_ordering::less : std::strong_ordering::greater;
        for (std::size_t i = kLimbs; i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] <=> b.limbs_[i];
        }
        return std::strong_ordering::equal;
    }

private:
    static constexpr std::size_t kLimbs = 6;
    std::array<std::uint32_t, kLimbs> limbs_{};
};

// value · 2^scale, a whole number by the choice of scale.
template <class Num>
Num scaled(float value, int scale);

template <>
std::int64_t scaled<std::int64_t>(float value, int scale) {
    return static_cast<std::int64_t>(std::ldexp(static_cast<double>(value), scale));
}

template <>
Wide scaled<Wide>(float value, int scale) {
    int exponent = 0;
    const double mantissa = std::frexp(static_cast<double>(value), &exponent);
    const auto digits = static_cast<std::int64_t>(std::ldexp(mantissa, 24));
    int shift = exponent - 24 + scale;
    Wide result = shift < 0 ? Wide(digits >> -shift) : Wide(digits);
    constexpr int kStep = 31;
    for (; shift >= kStep; shift -= kStep)
        result = result * (std::int64_t{1} << kStep);
    return shift > 0 ? result * (std::int64_t{1} << shift) : result;
}

template <class Num>
class RouteSearch {
public:
    RouteSearch(const LegTable& table, int scale, const RouteOptions& options)
        : table_(table), options_(options), start_(options.start), legs_(options.legs) {
        for (int a = 1; a <= kPosts; ++a) {
            for (int i = 0; i < table.nextCount[a]; ++i) {
                const int b = table.next[a][i];
                payoff_[a][b] = scaled<Num>(table.leg[a][b].payoff, scale);
            }
        }
        for (int v = 1; v <= kPosts; ++v)
            reachable_[0][v] = !options.backToStart || v == start_;
        for (int r = 1; r <= legs_; ++r) {
            for (int v = 1; v <= kPosts; ++v) {
                reachable_[r][v] = false;
                for (int i = 0; i < table_.nextCount[v]; ++i) {
                    const int u = table_.next[v][i];
                    if (mayEnter(u, r - 1) && reachable_[r - 1][u])
                        reachable_[r][v] = true;
                }
            }
        }
    }

    std::optional<RoutePosts> run() {
        if (!reachable_[legs_][start_])
            return std::nullopt;
        return options_.eachPostOnce ? bestSimpleRoute() : bestWalk();
    }

private:
    // A gold-per-move figure as the fraction payoff / moves.
    struct Ratio {
        Num payoff{};
        std::int64_t moves = 1;
    };

    // Whether a route may step onto post u with `remaining` legs still to go after that step.
    // Walks go anywhere; with each post at most once, the start only comes back as the last
    // post of a route back to the start.
    bool mayEnter(int u, int remaining) const {
        return !options_.eachPostOnce || (u == start_) == (options_.backToStart && remaining == 0);
    }

    // What leg v → u adds to payoff·M − moves·P for the ratio P / M.
    Num gain(int v, int u, const Ratio& ratio) const {
        return payoff_[v][u] * ratio.moves - ratio.payoff * table_.leg[v][u].moves;
    }

    // bound_[r][v]: the most that r legs from v (walks that may enter as mayEnter says) gain
    // against the ratio; the longest-path pass over the layers.
    void computeBounds(const Ratio& ratio) {
        for (int v = 1; v <= kPosts; ++v)
            bound_[0][v] = Num(0);
        for (int r = 1; r <= legs_; ++r) {
            for (int v = 1; v <= kPosts; ++v) {
                if (!reachable_[r][v])
                    continue;
                bool first = true;
                for (int i = 0; i < table_.nextCount[v]; ++i) {
                    const int u = table_.next[v][i];
                    if (!mayEnter(u, r - 1) || !reachable_[r - 1][u])
                        continue;
                    const Num total = gain(v, u, ratio) + bound_[r - 1][u];
                    if (first || bound_[r][v] < total)
                        bound_[r][v] = total;
                    first = false;
                }
            }
        }
    }

    // The walk that reaches bound_[legs][start], taking the lowest post at every step where
    // several do.
    RoutePosts firstBestWalk(const Ratio& ratio) const {
        RoutePosts route{start_};
        int v = start_;
        for (int r = legs_; r >= 1; --r) {
            for (int i = 0; i < table_.nextCount[v]; ++i) {
                const int u = table_.next[v][i];
                if (reachable_[r - 1][u] && gain(v, u, ratio) + bound_[r - 1][u] == bound_[r][v]) {
                    route.push_back(u);
                    v = u;
                    break;
                }
            }
        }
        return route;
    }

    Ratio ratioOf(const RoutePosts& route) const {
        Ratio ratio{Num(0), 0};
        for (std::size_t i = 1; i < route.size(); ++i) {
            ratio.payoff = ratio.payoff + payoff_[route[i - 1]][route[i]];
            ratio.moves += table_.leg[route[i - 1]][route[i]].moves;
        }
        return ratio;
    }

    std::optional<RoutePosts> bestWalk() {
        // Against a ratio of 0 the pass finds the route with the highest payoff.
        Ratio ratio{Num(0), 1};
        for (;;) {
            computeBounds(ratio);
            const RoutePosts route = firstBestWalk(ratio);
            if (bound_[legs_][start_] == Num(0))
                return route;
            ratio = ratioOf(route);
        }
    }

    std::optional<RoutePosts> bestSimpleRoute() {
        path_[0] = start_;
        descend(0, start_, Num(0), 0, visitedBit(start_));
        if (!found_)
            return std::nullopt;
        return RoutePosts(best_.begin(), best_.begin() + legs_ + 1);
    }

    static std::uint32_t visitedBit(int tp) { return std::uint32_t{1} << tp; }

    void descend(int done, int v, const Num& payoff, std::int64_t moves, std::uint32_t visited) {
        const int remaining = legs_ - done - 1;
        for (int i = 0; i < table_.nextCount[v]; ++i) {
            const int u = table_.next[v][i];
            if (!mayEnter(u, remaining) || !reachable_[remaining][u])
                continue;
            if (u != start_ && (visited & visitedBit(u)) != 0)
                continue;
            const Num routePayoff = payoff + payoff_[v][u];
            const std::int64_t routeMoves = moves + table_.leg[v][u].moves;
            // Routes met from here on come later in post order than the best so far, so they
            // must beat it, not tie with it.
            if (found_ && !(Num(0) < routePayoff * bestRatio_.moves -
                                         bestRatio_.payoff * routeMoves + bound_[remaining][u]))
                continue;
            path_[done + 1] = u;
            if (remaining == 0) {
                best_ = path_;
                bestRatio_ = {routePayoff, routeMoves};
                found_ = true;
                computeBounds(bestRatio_);
            } else {
                descend(done + 1, u, routePayoff, routeMoves, visited | visitedBit(u));
            }
        }
    }

    const LegTable& table_;
    const RouteOptions& options_;
    const int start_;
    const int legs_;
    std::array<std::array<Num, kPosts + 1>, kPosts + 1> payoff_{};
    std::array<std::array<bool, kPosts + 1>, kMaxRouteLegs + 1> reachable_{};
    std::array<std::array<Num, kPosts + 1>, kMaxRouteLegs + 1> bound_{};

    std::array<int, kMaxRouteLegs + 1> path_{};
    std::array<int, kMaxRouteLegs + 1> best_{};
    Ratio bestRatio_;
    bool found_ = false;
};

bool validOptions(const RouteOptions& options) {
    return isTradingPost(options.start) && options.legs >= 1 && options.legs <= kMaxRouteLegs;
}

std::optional<RoutePosts> searchRoute(const LegTable& table, const RouteOptions& options) {
    int scale = 0;
    float largestPayoff = 1.0F;
    int mostMoves = 1;
    for (int a = 1; a <= kPosts; ++a) {
        for (int i = 0; i < table.nextCount[a]; ++i) {
            const Leg& leg = table.leg[a][table.next[a][i]];
            scale = std::max(scale, fractionBits(leg.payoff));
            largestPayoff = std::max(largestPayoff, leg.payoff);
            mostMoves = std::max(mostMoves, leg.moves);
        }
    }
    // No figure of the search exceeds 4·L²·(largest scaled payoff)·(most moves of a leg), which
    // 64 bits hold for any realistic price; the wide numbers take the rest.
    const double largestFigure = 4.0 * kMaxRouteLegs * kMaxRouteLegs *
                                 std::ldexp(static_cast<double>(largestPayoff), scale) * mostMoves;
    if (largestFigure < 0x1p62)
        return RouteSearch<std::int64_t>(table, scale, options).run();
    return RouteSearch<Wide>(table, scale, options).run();
}

// A whole number rounded half to even, without the 32-bit limit of the ranked figures: a route's
// total can exceed it where a single value does not.
std::string wholeNumberText(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::nearbyint(v));
    return buffer;
}

std::string legsText(int legs) {
    return std::to_string(legs) + (legs == 1 ? " leg" : " legs");
}

}  // namespace

std::optional<RoutePosts> bestRoute(const TradeData& data, float reading,
                                    const RouteOptions& options) {
    if (!validOptions(options))
        return std::nullopt;
    return searchRoute(legTable(data, reading, options), options);
}

RoutePlanView planRoute(const TradeData& data, const Clock& clock, const RouteOptions& options,
                        std::string_view decimalSeparator) {
    RoutePlanView view;
    const auto noRoute = [&view](NoRouteReason reason, std::string text) {
        view.noRoute = reason;
        view.noRouteText = std::move(text);
        return view;
    };
    if (!validOptions(options)) {
        return noRoute(NoRouteReason::OutOfRange, "Pick a trading post to start at and from 1 to " +
                                                      std::to_string(kMaxRouteLegs) + " legs.");
    }
    const int start = options.start;
    const std::string town(tradingPost(start).townName);
    bool sells = false;
    bool wayOut = false;
    for (int k = 1; k <= kGoodsSlotCount; ++k)
        sells = sells || goodsSlot(start, k) != 0;
    for (int b = 1; b <= kPosts; ++b)
        wayOut = wayOut || (b != start && moves(start, b) < kNoRouteMoves);
    if (!sells) {
        return noRoute(NoRouteReason::StartSellsNothing,
                       "Nothing is sold at " + town + ", so no route can start there.");
    }
    if (!wayOut) {
        return noRoute(NoRouteReason::NoWayOut,
                       "No route leads from " + town + " to another trading post.");
    }
    if (options.backToStart && options.legs == 1) {
        return noRoute(NoRouteReason::OneLegCannotReturn,
                       "One leg cannot end where it began; choose two legs or more to come back "
                       "to the start.");
    }

    const float reading = readHourClock(clock);
    const LegTable table = legTable(data, reading, options);
    const auto route = searchRoute(table, options);
    if (!route) {
        const std::string which = "Every route of " + legsText(options.legs) + " from " + town;
        return noRoute(NoRouteReason::FiltersLeaveNone,
                       options.maxAgeHours
                           ? which + " calls at a post whose prices are older than " +
                                 ageText(*options.maxAgeHours, decimalSeparator) +
                                 " hours or were never taken."
                           : which + " is left out by the choices made.");
    }

    view.posts = *route;
    double totalPayoff = 0.0;
    int totalMoves = 0;
    for (std::size_t i = 1; i < route->size(); ++i) {
        const int a = (*route)[i - 1];
        const int b = (*route)[i];
        const Leg& leg = table.leg[a][b];
        const AgeView age = ageOfValuesAt(data, reading, b, decimalSeparator);
        view.legs.push_back(
            {static_cast<int>(i),
             std::string(tradingPost(a).townName),
             std::string(tradingPost(b).townName),
             std::string(commodityName(goodsSlot(a, leg.slot))),
             singleText(leg.payoff, decimalSeparator),
             wholeText(leg.moves),
             {neverValued(data, b) ? std::string(kNeverValuedText) : age.text, age.colour}});
        totalPayoff += static_cast<double>(leg.payoff);
        totalMoves += leg.moves;
    }
    view.totalPayoff = wholeNumberText(totalPayoff);
    view.totalMoves = wholeText(totalMoves);
    const double goldPerMove = std::nearbyint(totalPayoff / totalMoves);
    view.goldPerMove = {wholeNumberText(goldPerMove), colourBand(goldPerMove, BoxKind::Cpm)};
    return view;
}

}  // namespace ledgerly
