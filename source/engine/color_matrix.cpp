#include "engine/color_matrix.h"

#include <cmath>
#include <cstring>

#include "settings/scan_settings.h"

namespace {

using Op = double[4][4];

void MultiplyRight(ColorMatrix& matrix, const Op& op) {
    float result[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += double(matrix.m[r][k]) * op[k][c];
            result[r][c] = float(sum);
        }
    std::memcpy(matrix.m, result, sizeof result);
}

void IdentityOp(Op& op) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) op[r][c] = r == c ? 1.0 : 0.0;
}

// Rotation in the plane of axes a and b.
void Rotate(ColorMatrix& matrix, int a, int b, float sine, float cosine) {
    Op op;
    IdentityOp(op);
    op[a][a] = cosine;
    op[a][b] = sine;
    op[b][a] = -double(sine);
    op[b][b] = cosine;
    MultiplyRight(matrix, op);
}

constexpr double kWeight[3] = {0.3086, 0.6094, 0.0820};  // red, green, blue
constexpr double kEntryLimit = 1073741824.0;              // 2^30

int32_t TruncHeld(double x) {
    if (x > kEntryLimit) return int32_t(kEntryLimit);
    if (x < -kEntryLimit) return -int32_t(kEntryLimit);
    return int32_t(std::trunc(x));
}

}  // namespace

void MatrixIdentity(ColorMatrix& matrix) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) matrix.m[r][c] = r == c ? 1.0f : 0.0f;
}

void MatrixSaturate(ColorMatrix& matrix, double s) {
    Op op;
    IdentityOp(op);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            op[r][c] = double(float((1.0 - s) * kWeight[r] + (r == c ? s : 0.0)));
    MultiplyRight(matrix, op);
}

void MatrixRotateX(ColorMatrix& matrix, float sine, float cosine) {
    Rotate(matrix, 1, 2, sine, cosine);
}

void MatrixRotateY(ColorMatrix& matrix, float sine, float cosine) {
    Rotate(matrix, 2, 0, sine, cosine);
}

void MatrixRotateZ(ColorMatrix& matrix, float sine, float cosine) {
    Rotate(matrix, 0, 1, sine, cosine);
}

void MatrixShearZ(ColorMatrix& matrix, float dx, float dy) {
    Op op;
    IdentityOp(op);
    op[0][2] = dx;
    op[1][2] = dy;
    MultiplyRight(matrix, op);
}

void MatrixTransformPoint(const ColorMatrix& matrix, const float (&in)[3], float (&out)[3]) {
    const auto& m = matrix.m;
    for (int c = 0; c < 3; ++c)
        out[c] = in[0] * m[0][c] + in[1] * m[1][c] + in[2] * m[2][c] + m[3][c];
}

double SaturationFactor(int32_t saturation, uint16_t scanMode) {
    if (scanMode != kModeColor) return 1.0;
    return (double(saturation) + 100.0) * 2.0 / 200.0;
}

void MatrixTables(const ColorMatrix& matrix, ColorMatrixTables& tables) {
    for (int in = 0; in < 3; ++in)
        for (int out = 0; out < 3; ++out) {
            const double element = matrix.m[in][out];
            const double offset = in == 2 ? double(matrix.m[3][out]) : 0.0;
            for (int v = 0; v < 256; ++v) tables.t[in][out][v] = TruncHeld(v * element + offset);
        }
}

void BuildColorMatrixTables(double s, ColorMatrixTables& tables) {
    ColorMatrix matrix;
    MatrixIdentity(matrix);
    MatrixSaturate(matrix, s);
    MatrixTables(matrix, tables);
}

void BuildPickCorrection(uint8_t p1, uint8_t p2, uint8_t p3, PixelOrder order,
                         PickCorrection& correction) {
    const bool scanner = order == PixelOrder::Scanner;
    const int picked[3] = {scanner ? p1 : p3, p2, scanner ? p3 : p1};
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 256; ++i) {
            const int v = int(std::trunc((picked[b] - i) * (i + 10) / 512.0 + i));
            correction.t[b][i] = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
}

bool PickCorrectionActive(const uint8_t (&pixelRGB)[3]) {
    for (uint8_t c : pixelRGB)
        if (c == 255) return false;
    return pixelRGB[0] != 0 || pixelRGB[1] != 0 || pixelRGB[2] != 0;
}
