#include "core/layout/kai_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace inkquot {

namespace {

// A press sheet the full sheet can be cut into: short side S (gripper
// already taken off), long side L, m press sheets per full sheet, and the
// full sheet's area D in mm² for the utilisation.
struct Candidate {
    std::int32_t series;
    std::int32_t cut;
    std::int32_t shortSide;
    std::int32_t longSide;
    std::int32_t perFullSheet;
    std::int32_t fullSheetArea;
};

constexpr std::int32_t kDaduArea = 1051960;    // 884 × 1190
constexpr std::int32_t kZhengduArea = 850338;  // 783 × 1086
constexpr std::int32_t kStickerArea = 409275;  // 535 × 765

std::int64_t floorDiv(std::int32_t a, std::int32_t b) {
    return static_cast<std::int64_t>(std::floor(static_cast<double>(a) / static_cast<double>(b)));
}

// Utilisation as a 32-bit float of count pieces of w × h on a sheet of area d.
float utilisation(std::int64_t count, std::int32_t w, std::int32_t h, std::int32_t d) {
    const std::int64_t used = count * w * h;
    return static_cast<float>(static_cast<double>(used) / static_cast<double>(d));
}

// A gripper wider than the press sheet leaves no room at all: the floor of a
// negative side would give a negative number of pieces, which no shop can
// print, so such a candidate holds none.
std::int64_t placements(std::int32_t across, std::int32_t along, std::int32_t w, std::int32_t h) {
    if (across <= 0 || along <= 0) {
        return 0;
    }
    return floorDiv(across, w) * floorDiv(along, h);
}

struct Fit {
    std::int64_t count;
    float utilisation;
};

Fit fitCandidate(const Candidate& cand, std::int32_t w, std::int32_t h) {
    const std::int64_t p1 = placements(cand.shortSide, cand.longSide, w, h);
    const std::int64_t p2 = placements(cand.shortSide, cand.longSide, h, w);
    // On a tie the turned placement is taken; the count is the same.
    const std::int64_t count = cand.perFullSheet * (p2 >= p1 ? p2 : p1);
    return {count, utilisation(count, w, h, cand.fullSheetArea)};
}

template <std::size_t N>
KaiResult bestOf(const Candidate (&cands)[N], std::int32_t w, std::int32_t h, float best) {
    KaiResult r;
    for (const auto& cand : cands) {
        const Fit fit = fitCandidate(cand, w, h);
        if (fit.utilisation == best) {
            r.DuIndex = cand.series;
            r.KaiShu = static_cast<std::int32_t>(fit.count);
            r.KaiZhiIndex = cand.cut;
            r.LiYongLv = fit.utilisation;
            break;
        }
    }
    return r;
}

template <std::size_t N>
void utilisations(const Candidate (&cands)[N], std::int32_t w, std::int32_t h, float (&out)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = fitCandidate(cands[i], w, h).utilisation;
    }
}

}  // namespace

float MaxOf4(float a, float b, float c, float d) {
    return std::max({a, b, c, d});
}

float MaxOf8(float a, float b, float c, float d, float e, float f, float g, float h) {
    return std::max({a, b, c, d, e, f, g, h});
}

KaiResult SuanKai(std::int32_t w, std::int32_t h, std::int32_t c) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    const Candidate cands[] = {
        {0, 0, 595 - c, 884, 2, kDaduArea},
        {0, 1, 396 - c, 884, 3, kDaduArea},
        {1, 0, 543 - c, 783, 2, kZhengduArea},
        {1, 1, 362 - c, 783, 3, kZhengduArea},
    };
    float u[4];
    utilisations(cands, w, h, u);
    return bestOf(cands, w, h, MaxOf4(u[0], u[1], u[2], u[3]));
}

KaiResult SuanKaiHe(std::int32_t w, std::int32_t h, std::int32_t c) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    const Candidate cands[] = {
        {0, 0, 595 - c, 884, 2, kDaduArea},    {0, 1, 396 - c, 884, 3, kDaduArea},
        {0, 2, 442 - c, 748, 3, kDaduArea},    {0, 3, 1190 - 2 * c, 884, 1, kDaduArea},
        {1, 0, 543 - c, 783, 2, kZhengduArea}, {1, 1, 362 - c, 783, 3, kZhengduArea},
        {1, 2, 390 - c, 696, 3, kZhengduArea}, {1, 3, 1086 - 2 * c, 783, 1, kZhengduArea},
    };
    float u[8];
    utilisations(cands, w, h, u);
    return bestOf(cands, w, h, MaxOf8(u[0], u[1], u[2], u[3], u[4], u[5], u[6], u[7]));
}

KaiResult SuanKaiBu(std::int32_t w, std::int32_t h, std::int32_t c) {
    KaiResult r;
    if (w <= 0 || h <= 0) {
        return r;
    }
    // The orientation is chosen on the whole sticker sheet; the gripper then
    // comes off the short side.
    const std::int64_t p1 = floorDiv(765, w) * floorDiv(535, h);
    const std::int64_t p2 = floorDiv(535, w) * floorDiv(765, h);
    const std::int32_t usable = 535 - c;
    std::int64_t count = 0;
    if (usable > 0) {
        count = p2 >= p1 ? floorDiv(usable, w) * floorDiv(765, h)
                         : floorDiv(usable, h) * floorDiv(765, w);
    }
    r.KaiShu = static_cast<std::int32_t>(count);
    r.LiYongLv = utilisation(count, w, h, kStickerArea);
    return r;
}

}  // namespace inkquot
