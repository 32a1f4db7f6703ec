#include "tests/unit/filters/filter_oracle.h"

#include <algorithm>

namespace {
int Clamp(int v) { return std::clamp(v, 0, 255); }
bool Inside(const Grid& g, int r, int x) { return r >= 0 && r < g.h && x >= 0 && x < g.w; }
int DiagonalSum(const Grid& g, int r, int x, int c) {
    return g.at(r - 1, x - 1, c) + g.at(r - 1, x + 1, c) + g.at(r + 1, x - 1, c) +
           g.at(r + 1, x + 1, c);
}
bool Border(const Grid& g, int r, int x) { return r == 0 || x == 0 || r == g.h - 1 || x == g.w - 1; }
}  // namespace

Grid OracleBlur(Grid g, int passes) {
    // In place: neighbours already visited hold their blurred values.
    for (int pass = 0; pass < passes; ++pass)
        for (int r = 0; r < g.h; ++r)
            for (int x = 0; x < g.w; ++x)
                for (int c = 0; c < g.s; ++c) {
                    const int p = g.at(r, x, c);
                    int sum = 0;
                    for (int dr = -1; dr <= 1; ++dr)
                        for (int dx = -1; dx <= 1; ++dx)
                            sum += Inside(g, r + dr, x + dx) ? g.at(r + dr, x + dx, c) : p;
                    g.at(r, x, c) = sum / 9;
                }
    return g;
}

Grid OracleSharpen(Grid g, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        const Grid in = g;
        for (int r = 0; r < g.h; ++r)
            for (int x = 0; x < g.w; ++x)
                for (int c = 0; c < g.s; ++c)
                    if (!Border(g, r, x))
                        g.at(r, x, c) = Clamp(5 * in.at(r, x, c) - DiagonalSum(in, r, x, c));
    }
    return g;
}

Grid OracleUnsharp(const Grid& in) {
    Grid g = in;
    for (int r = 0; r < g.h; ++r)
        for (int x = 0; x < g.w; ++x)
            for (int c = 0; c < g.s; ++c)
                if (!Border(g, r, x))
                    g.at(r, x, c) = Clamp((in.at(r, x, c) * 179 / 10 - DiagonalSum(in, r, x, c)) / 9);
    return g;
}

Grid OracleEmboss(const Grid& in) {
    Grid g = in;
    for (int r = 0; r < g.h; ++r)
        for (int x = 0; x < g.w; ++x)
            for (int c = 0; c < g.s; ++c) {
                const int p = in.at(r, x, c);
                const int q = Inside(in, r + 2, x + 2) ? in.at(r + 2, x + 2, c) : p;
                g.at(r, x, c) = Clamp(p - q + 128);
            }
    return g;
}

Grid OracleFlip(const Grid& in) {
    Grid g = in;
    for (int r = 0; r < g.h; ++r)
        for (int x = 0; x < g.w; ++x)
            for (int c = 0; c < g.s; ++c) g.at(r, x, c) = in.at(r, g.w - 1 - x, c);
    return g;
}

Grid OracleConvolve(const Grid& in, int a, int b, int m) {
    Grid g = in;
    auto px = [&](int r, int x, int c) {
        return in.at(std::clamp(r, 0, in.h - 1), std::clamp(x, 0, in.w - 1), c);
    };
    const int divisor = 4 * a + 4 * b + m;
    for (int r = 0; r < g.h; ++r)
        for (int x = 0; x < g.w; ++x)
            for (int c = 0; c < g.s; ++c) {
                const int corners = px(r - 1, x - 1, c) + px(r - 1, x + 1, c) +
                                    px(r + 1, x - 1, c) + px(r + 1, x + 1, c);
                const int edges = px(r - 1, x, c) + px(r + 1, x, c) + px(r, x - 1, c) +
                                  px(r, x + 1, c);
                g.at(r, x, c) = Clamp((a * corners + b * edges + m * px(r, x, c)) / divisor);
            }
    return g;
}

Grid OracleRowBlur(Grid g, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        const Grid in = g;
        for (int r = 0; r < g.h; ++r)
            for (int x = 1; x < g.w; ++x)
                for (int c = 0; c < g.s; ++c) {
                    const int l = in.at(r, x - 1, c), p = in.at(r, x, c);
                    g.at(r, x, c) = x == g.w - 1 ? (l + 2 * p) / 3 : (l + p + in.at(r, x + 1, c)) / 3;
                }
    }
    return g;
}

Grid OracleRowSharpen(Grid g, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        const Grid in = g;
        for (int r = 0; r < g.h; ++r)
            for (int x = 1; x < g.w; ++x)
                for (int c = 0; c < g.s; ++c) {
                    const int l = in.at(r, x - 1, c), p = in.at(r, x, c);
                    g.at(r, x, c) = Clamp(x == g.w - 1 ? 2 * p - l : 3 * p - l - in.at(r, x + 1, c));
                }
    }
    return g;
}

Grid OracleRowEmboss(const Grid& in) {
    Grid g = in;
    if (g.h == 1) {
        if (g.s == 3)
            for (int x = 0; x < g.w; ++x)
                for (int c = 0; c < 3; ++c)
                    g.at(0, x, c) = x + 1 < g.w ? Clamp(in.at(0, x, c) - in.at(0, x + 1, c) + 128) : 128;
        return g;
    }
    for (int r = 0; r + 1 < g.h; ++r)
        for (int x = 0; x < g.w; ++x)
            for (int c = 0; c < g.s; ++c) g.at(r, x, c) = Clamp(in.at(r, x, c) - in.at(r + 1, x, c) + 128);
    for (int x = 0; x < g.w; ++x)
        for (int c = 0; c < g.s; ++c) g.at(g.h - 1, x, c) = g.at(g.h - 2, x, c);
    return g;
}
