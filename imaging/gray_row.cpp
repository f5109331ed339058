#include "imaging/gray_row.hpp"

#if defined(__x86_64__) && defined(__GNUC__)
// GCC 12's AVX-512 header initialises its "undefined" vectors from themselves, which its own
// flow analysis then reports as uninitialised use (fixed in GCC 13).
#if !defined(__clang__) && __GNUC__ < 13
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
#define ZORBEL_GRAY_AVX2 1
#endif

namespace zorbel::imaging {

namespace {

// (lum + 500) / 1000 is ((lum + 500) / 8) / 125, the second step an exact multiply and shift
// for every value below 2^15; a tie gave the upper neighbour, which is put back when odd.
void grayRowPlain(uint8_t* p, size_t count) {
    for (size_t i = 0; i < count; ++i, p += 3) {
        const uint32_t up = 222u * p[2] + 707u * p[1] + 71u * p[0] + 500;
        uint32_t grey = ((up >> 3) * 33555u) >> 22;
        grey -= (grey * 1000 == up) & grey;
        p[0] = p[1] = p[2] = static_cast<uint8_t>(grey);
    }
}

#ifdef ZORBEL_GRAY_AVX2

// A byte shuffle of one 16-byte lane: entry i takes byte 3 i + first - offset where that lies
// within the lane, else zero.
__m128i splitMask(int first, int offset) {
    alignas(16) int8_t m[16];
    for (int i = 0; i < 16; ++i) {
        const int byte = 3 * i + first - offset;
        m[i] = static_cast<int8_t>(byte >= 0 && byte < 16 ? byte : -128);
    }
    return _mm_load_si128(reinterpret_cast<const __m128i*>(m));
}

// Entry j takes grey (offset + j) / 3: each grey byte three times over.
__m128i spreadMask(int offset) {
    alignas(16) int8_t m[16];
    for (int j = 0; j < 16; ++j) m[j] = static_cast<int8_t>((offset + j) / 3);
    return _mm_load_si128(reinterpret_cast<const __m128i*>(m));
}

struct GrayConstants {
    __m128i split[3][3];
    __m128i spread[3];
    GrayConstants() {
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) split[c][k] = splitMask(c, 16 * k);
        for (int k = 0; k < 3; ++k) spread[k] = spreadMask(16 * k);
    }
};

// Grey of 8 pixels per lane from their 16-bit blue, green and red.
__attribute__((target("avx2"))) inline __m256i grey8(__m256i b, __m256i g, __m256i r) {
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i greenRed = _mm256_set1_epi32(222 << 16 | 707);
    const __m256i blueHalf = _mm256_set1_epi32(500 << 16 | 71);
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i up0 = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(g, r), greenRed),
                                         _mm256_madd_epi16(_mm256_unpacklo_epi16(b, ones), blueHalf));
    const __m256i up1 = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(g, r), greenRed),
                                         _mm256_madd_epi16(_mm256_unpackhi_epi16(b, ones), blueHalf));
    const __m256i n = _mm256_packus_epi32(_mm256_srli_epi32(up0, 3), _mm256_srli_epi32(up1, 3));
    const __m256i low = _mm256_packus_epi32(_mm256_and_si256(up0, seven), _mm256_and_si256(up1, seven));
    const __m256i q = _mm256_srli_epi16(_mm256_mulhi_epu16(n, _mm256_set1_epi16(static_cast<short>(33555))), 6);
    const __m256i tie = _mm256_and_si256(_mm256_cmpeq_epi16(_mm256_mullo_epi16(q, _mm256_set1_epi16(125)), n),
                                         _mm256_cmpeq_epi16(low, _mm256_setzero_si256()));
    return _mm256_sub_epi16(q, _mm256_and_si256(tie, _mm256_and_si256(q, ones)));
}

// 32 pixels at a time, 16 in each 128-bit lane: byte shuffles split the 48 bytes of a lane
// into blue, green and red, multiply-adds give lum + 500 in 32 bits, and the same steps as
// above (in 16 bits) give the grey, which shuffles spread back over the three bytes.
__attribute__((target("avx2"))) void grayRowAvx2(uint8_t* p, size_t count) {
    static const GrayConstants constants;
    __m256i split[3][3], spread[3];
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k) split[c][k] = _mm256_broadcastsi128_si256(constants.split[c][k]);
    for (int k = 0; k < 3; ++k) spread[k] = _mm256_broadcastsi128_si256(constants.spread[k]);
    const __m256i zero = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= count; i += 32, p += 96) {
        __m256i v[3];
        for (int k = 0; k < 3; ++k)
            v[k] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 48 + 16 * k),
                                       reinterpret_cast<const __m128i*>(p + 16 * k));
        __m256i channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v[0], split[c][0]),
                                                         _mm256_shuffle_epi8(v[1], split[c][1])),
                                         _mm256_shuffle_epi8(v[2], split[c][2]));
        const __m256i lo = grey8(_mm256_unpacklo_epi8(channel[0], zero), _mm256_unpacklo_epi8(channel[1], zero),
                                 _mm256_unpacklo_epi8(channel[2], zero));
        const __m256i hi = grey8(_mm256_unpackhi_epi8(channel[0], zero), _mm256_unpackhi_epi8(channel[1], zero),
                                 _mm256_unpackhi_epi8(channel[2], zero));
        const __m256i grey = _mm256_packus_epi16(lo, hi);
        for (int k = 0; k < 3; ++k)
            _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(p + 48 + 16 * k), reinterpret_cast<__m128i*>(p + 16 * k),
                                 _mm256_shuffle_epi8(grey, spread[k]));
    }
    grayRowPlain(p, count - i);
}

#define ZORBEL_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// The same steps as grey8 on 32 pixels.
ZORBEL_WIDE inline __m512i grey32(__m512i b, __m512i g, __m512i r) {
    const __m512i ones = _mm512_set1_epi16(1);
    const __m512i greenRed = _mm512_set1_epi32(222 << 16 | 707);
    const __m512i blueHalf = _mm512_set1_epi32(500 << 16 | 71);
    const __m512i seven = _mm512_set1_epi32(7);
    const __m512i up0 = _mm512_add_epi32(_mm512_madd_epi16(_mm512_unpacklo_epi16(g, r), greenRed),
                                         _mm512_madd_epi16(_mm512_unpacklo_epi16(b, ones), blueHalf));
    const __m512i up1 = _mm512_add_epi32(_mm512_madd_epi16(_mm512_unpackhi_epi16(g, r), greenRed),
                                         _mm512_madd_epi16(_mm512_unpackhi_epi16(b, ones), blueHalf));
    const __m512i n = _mm512_packus_epi32(_mm512_srli_epi32(up0, 3), _mm512_srli_epi32(up1, 3));
    const __m512i low = _mm512_packus_epi32(_mm512_and_si512(up0, seven), _mm512_and_si512(up1, seven));
    const __m512i q = _mm512_srli_epi16(_mm512_mulhi_epu16(n, _mm512_set1_epi16(static_cast<short>(33555))), 6);
    const __mmask32 tie = _mm512_cmpeq_epi16_mask(_mm512_mullo_epi16(q, _mm512_set1_epi16(125)), n) &
                          _mm512_cmpeq_epi16_mask(low, _mm512_setzero_si512());
    return _mm512_mask_sub_epi16(q, tie, q, _mm512_and_si512(q, ones));
}

// Byte permutations for 64 pixels (192 bytes in three registers): where each channel's bytes
// are, and where each output byte finds its grey after the lane-wise pack of two halves.
struct WideGrayTables {
    alignas(64) uint8_t channel[3][64];
    alignas(64) uint8_t spread[3][64];
    uint64_t fromThird[3];  // the channel bytes that lie in the third register
    WideGrayTables() {
        for (int c = 0; c < 3; ++c) {
            fromThird[c] = 0;
            for (int i = 0; i < 64; ++i) {
                const int byte = 3 * i + c;
                channel[c][i] = static_cast<uint8_t>(byte);  // the low 7 or 6 bits pick the byte
                if (byte >= 128) fromThird[c] |= uint64_t{1} << i;
            }
        }
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 64; ++j) {
                const int pixel = (64 * k + j) / 3;
                const int half = pixel / 32, inHalf = pixel % 32;
                spread[k][j] = static_cast<uint8_t>(16 * (inHalf / 8) + 8 * half + inHalf % 8);
            }
    }
};

ZORBEL_WIDE void grayRowWide(uint8_t* p, size_t count) {
    static const WideGrayTables tables;
    __m512i channel[3], spread[3];
    __mmask64 fromThird[3];
    for (int c = 0; c < 3; ++c) {
        channel[c] = _mm512_load_si512(tables.channel[c]);
        spread[c] = _mm512_load_si512(tables.spread[c]);
        fromThird[c] = tables.fromThird[c];
    }
    size_t i = 0;
    for (; i + 64 <= count; i += 64, p += 192) {
        const __m512i v0 = _mm512_loadu_si512(p), v1 = _mm512_loadu_si512(p + 64), v2 = _mm512_loadu_si512(p + 128);
        __m512i lo[3], hi[3];
        for (int c = 0; c < 3; ++c) {
            __m512i bytes = _mm512_permutex2var_epi8(v0, channel[c], v1);
            bytes = _mm512_mask_permutexvar_epi8(bytes, fromThird[c], channel[c], v2);
            lo[c] = _mm512_cvtepu8_epi16(_mm512_castsi512_si256(bytes));
            hi[c] = _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(bytes, 1));
        }
        const __m512i grey = _mm512_packus_epi16(grey32(lo[0], lo[1], lo[2]), grey32(hi[0], hi[1], hi[2]));
        for (int k = 0; k < 3; ++k) _mm512_storeu_si512(p + 64 * k, _mm512_permutexvar_epi8(spread[k], grey));
    }
    grayRowAvx2(p, count - i);
}

#undef ZORBEL_WIDE

#endif

}  // namespace

void grayRow(uint8_t* pixels, size_t count) {
#ifdef ZORBEL_GRAY_AVX2
    static const bool wide = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    if (wide) return grayRowWide(pixels, count);
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return grayRowAvx2(pixels, count);
#endif
    grayRowPlain(pixels, count);
}

}  // namespace zorbel::imaging
