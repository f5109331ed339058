#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <turbojpeg.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "imaging/dib_section.hpp"
#include "imaging/jpeg_codec.hpp"
#include "platform/window/message_box.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::imaging {
namespace {

namespace fs = std::filesystem;
using zorbel::testing::readFile;
using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

struct BoxRecorder {
    std::vector<std::string> texts;
    BoxRecorder() {
        window::setMessageBoxHook([this](const std::string& text, const std::string&, uint32_t style) {
            texts.push_back(text);
            EXPECT_EQ(style & window::MB_ICONMASK, window::MB_ICONEXCLAMATION);
            return std::optional<int>(window::IDOK);
        });
    }
    ~BoxRecorder() { window::setMessageBoxHook(nullptr); }
};

Ref<DIBSection> gradientImage(int32_t w, int32_t h) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_TRUE(d->Create(w, h));
    for (int32_t r = 0; r < h; ++r)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = d->bits() + r * d->BytesPerScanLine() + 3 * x;
            p[0] = static_cast<uint8_t>(x * 255 / w), p[1] = static_cast<uint8_t>(r * 255 / h), p[2] = 128;
        }
    return d;
}

std::string greyJpeg(int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, pixels.data(), w, 0, h, TJPF_GRAY, &jpeg, &size, TJSAMP_GRAY, 90, 0);
    std::string out(reinterpret_cast<char*>(jpeg), size);
    tjFree(jpeg);
    tjDestroy(tj);
    return out;
}

TEST(JpegTest, RoundTripKeepsSizeOrientationAndPadding) {
    TempFolder folder;
    std::string file = (folder / "a.jpg").string();
    Ref<DIBSection> source = gradientImage(3, 16);
    ASSERT_TRUE(source->SaveJPEG(file, 95));
    Ref<DIBSection> loaded = makeRef<DIBSection>();
    ASSERT_TRUE(loaded->LoadJPEG(file));
    EXPECT_EQ(loaded->Width(), 3);
    EXPECT_EQ(loaded->Height(), 16);
    EXPECT_EQ(loaded->BytesPerScanLine(), 12);
    for (int32_t r = 0; r < 16; ++r) {
        for (int c = 9; c < 12; ++c) EXPECT_EQ(loaded->bits()[r * 12 + c], 0) << "padding of row " << r;
        // Storage row 0 stays the bottom: the green ramp rises with the storage row.
        EXPECT_NEAR(loaded->bits()[r * 12 + 1], source->bits()[r * 12 + 1], 12) << r;
    }
}

TEST(JpegTest, GreyFileLoadsWithEqualChannels) {
    TempFolder folder;
    writeFile(folder / "g.jpg", greyJpeg(9, 5));
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->LoadJPEG((folder / "g.jpg").string()));
    EXPECT_EQ(d->Width(), 9);
    for (int32_t r = 0; r < 5; ++r)
        for (int32_t x = 0; x < 9; ++x) {
            const uint8_t* p = d->bits() + r * d->BytesPerScanLine() + 3 * x;
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
        }
}

TEST(JpegTest, QualityIsPassedAndDefaultsTo90) {
    TempFolder folder;
    Ref<DIBSection> d = gradientImage(64, 64);
    d->RandomiseBits(false);
    d->SaveJPEG((folder / "low.jpg").string(), 10);
    d->SaveJPEG((folder / "high.jpg").string(), 100);
    d->SaveJPEG((folder / "q90.jpg").string(), 90);
    d->invoke("SaveJPEG", com::kMethod, {Variant((folder / "default.jpg").string())});
    EXPECT_LT(fs::file_size(folder / "low.jpg"), fs::file_size(folder / "high.jpg"));
    EXPECT_EQ(readFile(folder / "default.jpg"), readFile(folder / "q90.jpg"));
}

TEST(JpegTest, ReplacingKeepsPermissionsAndTimes) {
    TempFolder folder;
    fs::path file = folder / "old.jpg";
    writeFile(file, "old contents");
    ::chmod(file.c_str(), 0640);
    const struct timespec times[2] = {{1000000000, 0}, {1100000000, 0}};
    ::utimensat(AT_FDCWD, file.c_str(), times, 0);
    ASSERT_TRUE(gradientImage(8, 8)->SaveJPEG(file.string(), 90));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mtim.tv_sec, 1100000000);
    EXPECT_NE(readFile(file), "old contents");
    fs::path fresh = folder / "new.jpg";
    ASSERT_TRUE(gradientImage(8, 8)->SaveJPEG(fresh.string(), 90));
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_GT(st.st_mtim.tv_sec, 1100000000);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);  // no temp left
}

TEST(JpegTest, FailedSavesLeaveTheOldFile) {
    TempFolder folder;
    fs::path file = folder / "keep.jpg";
    writeFile(file, "old contents");
    try {
        makeRef<DIBSection>()->SaveJPEG(file.string(), 90);  // no pixels to encode
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kJpegError);
        EXPECT_EQ(e.source(), "Zorbel.mIntelJPEGLibrary");
        EXPECT_EQ(e.description().rfind("Failed to save to JPG ", 0), 0u) << e.description();
    }
    EXPECT_EQ(readFile(file), "old contents");
    ::chmod(file.c_str(), 0444);  // read-only: not replaced
    try {
        gradientImage(4, 4)->SaveJPEG(file.string(), 90);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kPathFileAccessError);
    }
    EXPECT_EQ(readFile(file), "old contents");
}

TEST(JpegTest, UnreadableFilesShowTheDescribedMessages) {
    TempFolder folder;
    BoxRecorder boxes;
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_FALSE(d->LoadJPEG((folder / "missing.jpg").string()));
    writeFile(folder / "garbage.jpg", std::string(200, 'x'));
    EXPECT_FALSE(d->LoadJPEG((folder / "garbage.jpg").string()));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], "Failed to read JPG");
    EXPECT_EQ(boxes.texts[1], "Failed to read JPG");
    // A file cut in its image data: the header reads, the pixels do not.
    Ref<DIBSection> noisy = gradientImage(200, 150);
    noisy->RandomiseBits(false);
    ASSERT_TRUE(noisy->SaveJPEG((folder / "full.jpg").string(), 90));
    std::string full = readFile(folder / "full.jpg");
    writeFile(folder / "cut.jpg", full.substr(0, full.size() * 2 / 3));
    EXPECT_FALSE(d->LoadJPEG((folder / "cut.jpg").string()));
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_EQ(boxes.texts[2], "Cannot read Image Data from file.");
    EXPECT_EQ(d->Width(), 200);
    EXPECT_EQ(d->Height(), 150);
}

}  // namespace
}  // namespace zorbel::imaging
