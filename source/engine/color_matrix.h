// Colour matrices in row-vector form (a colour is the row (r, g, b, 1) times the matrix; the
// fourth row holds offsets) and the lookup tables that apply one to 8-bit pixels without a
// multiplication per pixel. Saturation uses the luminance weights of the colour-matrix method
// for image processing: 0.3086 red, 0.6094 green, 0.0820 blue.
#pragma once

#include <cstdint>

struct ColorMatrix {
    float m[4][4];
};

// Every helper multiplies the matrix in place by an elementary matrix on the right:
// m = m x op.
void MatrixIdentity(ColorMatrix& matrix);
void MatrixSaturate(ColorMatrix& matrix, double s);  // op computed in double, stored as float
void MatrixRotateX(ColorMatrix& matrix, float sine, float cosine);
void MatrixRotateY(ColorMatrix& matrix, float sine, float cosine);
void MatrixRotateZ(ColorMatrix& matrix, float sine, float cosine);
void MatrixShearZ(ColorMatrix& matrix, float dx, float dy);
// The point (x, y, z, 1) times the matrix.
void MatrixTransformPoint(const ColorMatrix& matrix, const float (&in)[3], float (&out)[3]);

// (Saturation + 100) x 2 / 200 for colour scans (base mode 1014), 1 for every other mode.
double SaturationFactor(int32_t saturation, uint16_t scanMode);

// t[in][out][v] = trunc(v x m[in][out]), plus the offset m[3][out] for in = 2. The product
// of an 8-bit value and a float is taken exactly, so every build gets the same tables.
struct ColorMatrixTables {
    int32_t t[3][3][256];
};
// Entries are held to +/- 2^30 so that three of them always sum within 32 bits.
void MatrixTables(const ColorMatrix& matrix, ColorMatrixTables& tables);
// Identity, then saturation with factor s, then the nine tables.
void BuildColorMatrixTables(double s, ColorMatrixTables& tables);

// How the bytes of a pixel are ordered: bitmap order (blue, green, red; the preview) or
// scanner order (red, green, blue; the read loops).
enum class PixelOrder : uint8_t { Bitmap = 0, Scanner = 1 };

// The picked-colour correction pulls every level towards the picked component:
// trunc((p - i) x (i + 10) / 512 + i), clamped to 0..255. p1, p2, p3 are red, green, blue;
// t[b] is the table for byte b of a pixel in the given order.
struct PickCorrection {
    uint8_t t[3][256];
};
void BuildPickCorrection(uint8_t p1, uint8_t p2, uint8_t p3, PixelOrder order,
                         PickCorrection& correction);
// Active when no component is 255 and the three are not all 0.
bool PickCorrectionActive(const uint8_t (&pixelRGB)[3]);
