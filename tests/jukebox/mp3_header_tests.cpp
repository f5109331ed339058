#include <gtest/gtest.h>

#include <cstring>

#include "jukebox/extended_song_info.hpp"
#include "jukebox/mp3_header.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

struct Scan {
    uint8_t bytes[kMp3ScanSize] = {};
    Scan& at(size_t offset, std::initializer_list<uint8_t> header) {
        std::memcpy(bytes + offset, header.begin(), header.size());
        return *this;
    }
};

Mp3Info analysed(const Scan& scan, uint64_t length, bool expected = true) {
    Mp3Info info;
    EXPECT_EQ(analyseMp3(scan.bytes, length, info), expected);
    return info;
}

TEST(Mp3Header, Mpeg1LayerThreeExample) {
    // 0xFFFB: sync, MPEG-1, layer III, no protection bit; 0x90: 128 kbit/s, 44100 Hz.
    Mp3Info info = analysed(Scan().at(0, {0xFF, 0xFB, 0x90, 0x00}), 4000000);
    EXPECT_EQ(info.type, 1);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.protection, 1);  // the bit 0x10 of the field byte 0xB9
    EXPECT_EQ(info.bitRate, 128000);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.frequency, 0);
    EXPECT_EQ(info.frameCount, 9569);  // 4000000 / 418
    EXPECT_EQ(info.duration, 249);

    Mp3Info padded = analysed(Scan().at(0, {0xFF, 0xFB, 0x92, 0x00}), 4000000);
    EXPECT_EQ(padded.frameCount, 9547);  // 4000000 / 419
}

TEST(Mp3Header, FieldsAndRatesByVersion) {
    struct Case {
        uint8_t b1, b2;
        int16_t type, layer;
        int32_t bitRate, sampleRate, frequency;
    } cases[] = {
        {0xF3, 0x94, 2, 3, 80000, 24000, 1},   // MPEG-2 layer III, index 9, code 1
        {0xF3, 0x88, 2, 3, 64000, 16000, 2},   // index 8, code 2
        {0xFD, 0xE4, 1, 2, 384000, 48000, 1},  // MPEG-1 layer II, index 14
        {0xFF, 0x14, 1, 1, 32000, 48000, 1},   // MPEG-1 layer I, index 1
        {0xF7, 0xE0, 2, 1, 256000, 22050, 0},  // MPEG-2 layer I, index 14
    };
    for (const Case& c : cases) {
        Mp3Info info = analysed(Scan().at(0, {0xFF, c.b1, c.b2, 0x00}), 100000);
        EXPECT_EQ(info.type, c.type) << int(c.b1);
        EXPECT_EQ(info.layer, c.layer) << int(c.b1);
        EXPECT_EQ(info.bitRate, c.bitRate) << int(c.b1);
        EXPECT_EQ(info.sampleRate, c.sampleRate) << int(c.b1);
        EXPECT_EQ(info.frequency, c.frequency) << int(c.b1);
    }
}

TEST(Mp3Header, FindsLaterAndHalfByteSyncs) {
    Mp3Info later = analysed(Scan().at(1000, {0xFF, 0xFB, 0x90, 0x00}), 4000000);
    EXPECT_EQ(later.bitRate, 128000);
    // The same header shifted by four bits: 0x0F 0xFF 0xB9 0x00.
    Mp3Info shifted = analysed(Scan().at(10, {0x0F, 0xFF, 0xB9, 0x00}), 4000000);
    EXPECT_EQ(shifted.bitRate, 128000);
    EXPECT_EQ(shifted.sampleRate, 44100);
}

TEST(Mp3Header, FailuresKeepWhatWasNotReached) {
    analysed(Scan(), 100000, false);  // no sync at all
    Mp3Info freeFormat;
    freeFormat.frameCount = 77;
    Scan scan = Scan().at(0, {0xFF, 0xFB, 0x00, 0x00});  // bit-rate index 0, no padding
    EXPECT_FALSE(analyseMp3(scan.bytes, 100000, freeFormat));
    EXPECT_EQ(freeFormat.bitRate, 0);
    EXPECT_EQ(freeFormat.type, 1);
    EXPECT_EQ(freeFormat.frameCount, 77);

    Mp3Info reserved;
    reserved.sampleRate = 0;
    EXPECT_FALSE(analyseMp3(Scan().at(0, {0xFF, 0xFB, 0x9C, 0x00}).bytes, 100000, reserved));
    reserved.sampleRate = 8000;  // a reserved code keeps the caller's rate
    EXPECT_TRUE(analyseMp3(Scan().at(0, {0xFF, 0xFB, 0x9C, 0x00}).bytes, 100000, reserved));
    EXPECT_EQ(reserved.sampleRate, 8000);
}

TEST(Mp3Header, ThroughTheClassWithFiles) {
    zorbel::testing::TempFolder folder;
    std::string header = "\xFF\xFB\x90";
    std::string body = header + std::string(4096 - header.size() + 1000, '\0');
    zorbel::testing::writeFile(folder / "ok.mp3", body);
    zorbel::testing::writeFile(folder / "short.mp3", body.substr(0, 4095));
    auto info = makeRef<ExtendedSongInfo>();
    Args args = {Variant((folder / "ok.mp3").string()), Variant::integer(0), Variant::integer(0), Variant::integer(0),
                 Variant(0), Variant(0), Variant(0), Variant(0), Variant(0)};
    EXPECT_EQ(invokeDispatch(info.get(), "GetMoreInfoMP3", com::kMethod, args), Variant(true));
    EXPECT_EQ(args[1], Variant::integer(1));
    EXPECT_EQ(args[4], Variant::longValue(128000));
    EXPECT_EQ(args[7], Variant::longValue(12));  // 5096 / 418
    for (const char* name : {"short.mp3", "missing.mp3", ""}) {
        Args failed = args;
        failed[0] = Variant((folder / name).string());
        failed[4] = Variant(-5);
        EXPECT_EQ(invokeDispatch(info.get(), "GetMoreInfoMP3", com::kMethod, failed), Variant(false)) << name;
        EXPECT_EQ(failed[4], Variant::longValue(-5)) << name;
    }
}

}  // namespace
}  // namespace zorbel::jukebox
