// The program's pictures as they are compiled into it: sizes, colour depths
// and the alpha rules that their drawing relies on.
#include <gtest/gtest.h>

#include <windows.h>

#include "bench/bench.h"
#include "res/resource.h"

namespace {

const void* LockedResource(int id, LPCWSTR type, DWORD* size)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == NULL)
        return NULL;
    *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Artwork, ApplicationIconHasItsTenImages)
{
    DWORD size = 0;
    const BYTE* group = static_cast<const BYTE*>(LockedResource(IDI_APP, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, &size));
    ASSERT_TRUE(group != NULL);
    const IconGroupHeader* header = reinterpret_cast<const IconGroupHeader*>(group);
    ASSERT_EQ(1, header->type);
    ASSERT_EQ(10, header->count);
    const IconGroupEntry* entries = reinterpret_cast<const IconGroupEntry*>(group + sizeof(IconGroupHeader));
    const struct {
        int size, bits;
    } expected[] = { { 256, 32 }, { 128, 32 }, { 96, 32 }, { 64, 32 }, { 48, 32 },
                     { 32, 32 },  { 16, 32 },  { 48, 8 },  { 32, 8 },  { 16, 8 } };
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(testing::Message() << "image " << i << ": " << expected[i].size << " px, "
                                        << expected[i].bits << " bits");
        EXPECT_EQ(expected[i].size % 256, entries[i].width);
        EXPECT_EQ(expected[i].size % 256, entries[i].height);
        EXPECT_EQ(expected[i].bits, entries[i].bitCount);
        DWORD imageSize = 0;
        const BITMAPINFOHEADER* image = static_cast<const BITMAPINFOHEADER*>(
            LockedResource(entries[i].id, MAKEINTRESOURCEW(3) /* RT_ICON */, &imageSize));
        ASSERT_TRUE(image != NULL);
        ASSERT_EQ(sizeof(BITMAPINFOHEADER), image->biSize);
        EXPECT_EQ(expected[i].size, image->biWidth);
        EXPECT_EQ(2 * expected[i].size, image->biHeight);  // colour and mask
        EXPECT_EQ(expected[i].bits, image->biBitCount);
        if (expected[i].bits != 32)
            continue;
        // A real alpha channel: transparent corners, an opaque middle, and
        // soft edges on the larger images.
        const DWORD* pixels = reinterpret_cast<const DWORD*>(image + 1);
        int n = expected[i].size;
        EXPECT_EQ(0u, pixels[0] >> 24) << "bottom-left corner";
        EXPECT_EQ(0xFFu, pixels[(n / 2) * n + n / 2] >> 24) << "middle";
        int soft = 0;
        for (int p = 0; p < n * n; ++p) {
            DWORD alpha = pixels[p] >> 24;
            soft += alpha != 0 && alpha != 0xFF;
        }
        if (n >= 48) {
            EXPECT_GT(soft, 0) << "no anti-aliased edge";
        }
    }
    // The system can make icons of the usual sizes from it.
    const int sizes[] = { 16, 32, 48, 256 };
    for (int iconSize : sizes) {
        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_APP),
                                                   IMAGE_ICON, iconSize, iconSize, 0));
        EXPECT_TRUE(icon != NULL) << iconSize << " px";
        if (icon != NULL)
            DestroyIcon(icon);
    }
}

// A bitmap resource: its header and its pixels as stored (bottom-up).
const BITMAPINFOHEADER* BitmapHeader(int id)
{
    DWORD size = 0;
    return static_cast<const BITMAPINFOHEADER*>(LockedResource(id, MAKEINTRESOURCEW(2) /* RT_BITMAP */, &size));
}

const DWORD* Pixels32(const BITMAPINFOHEADER* header)
{
    return reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
}

TEST(Artwork, BitmapsHaveTheirSizesAndDepths)
{
    const struct {
        int id, width, height, bits;
    } bitmaps[] = { { IDB_LOGO, 40, 135, 24 },       { IDB_ADAPTER, 16, 16, 32 },
                    { IDB_MONITOR, 16, 16, 32 },     { IDB_CROSS, 32, 32, 32 },
                    { IDB_ARROW_RIGHT, 32, 32, 32 }, { IDB_ARROW_LEFT, 32, 32, 32 } };
    for (const auto& bitmap : bitmaps) {
        SCOPED_TRACE(testing::Message() << "bitmap " << bitmap.id);
        const BITMAPINFOHEADER* header = BitmapHeader(bitmap.id);
        ASSERT_TRUE(header != NULL);
        EXPECT_EQ(40u, header->biSize);
        EXPECT_EQ(bitmap.width, header->biWidth);
        EXPECT_EQ(bitmap.height, header->biHeight) << "bottom-up rows";
        EXPECT_EQ(bitmap.bits, header->biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), header->biCompression);
    }
}

TEST(Artwork, ListImagesAreOpaqueOrTransparent)
{
    const int ids[] = { IDB_ADAPTER, IDB_MONITOR };
    for (int id : ids) {
        SCOPED_TRACE(testing::Message() << "bitmap " << id);
        const DWORD* pixels = Pixels32(BitmapHeader(id));
        int opaque = 0, clear = 0;
        for (int p = 0; p < 16 * 16; ++p) {
            DWORD alpha = pixels[p] >> 24;
            ASSERT_TRUE(alpha == 0 || alpha == 0xFF) << "pixel " << p << " has alpha " << alpha;
            opaque += alpha == 0xFF;
            clear += alpha == 0;
        }
        EXPECT_GT(opaque, 64);
        EXPECT_GT(clear, 0);
    }
}

TEST(Artwork, PopupSymbolsArePremultipliedAndTransparentAround)
{
    const struct {
        int id;
        int red, blue;  // which channel dominates the symbol
    } symbols[] = { { IDB_CROSS, 1, 0 }, { IDB_ARROW_RIGHT, 0, 1 }, { IDB_ARROW_LEFT, 0, 1 } };
    for (const auto& symbol : symbols) {
        SCOPED_TRACE(testing::Message() << "bitmap " << symbol.id);
        const DWORD* pixels = Pixels32(BitmapHeader(symbol.id));
        const int corners[] = { 0, 31, 31 * 32, 32 * 32 - 1 };
        for (int corner : corners)
            EXPECT_EQ(0u, pixels[corner]) << "corner pixel " << corner;
        long long red = 0, blue = 0;
        int opaque = 0;
        for (int p = 0; p < 32 * 32; ++p) {
            DWORD a = pixels[p] >> 24, r = (pixels[p] >> 16) & 0xFF, g = (pixels[p] >> 8) & 0xFF, b = pixels[p] & 0xFF;
            ASSERT_TRUE(r <= a && g <= a && b <= a) << "pixel " << p << " is not premultiplied";
            opaque += a == 0xFF;
            red += r;
            blue += b;
        }
        EXPECT_GT(opaque, 100);
        EXPECT_EQ(symbol.red != 0, red > blue);
    }
    // The two arrows mirror each other.
    const DWORD* right = Pixels32(BitmapHeader(IDB_ARROW_RIGHT));
    const DWORD* left = Pixels32(BitmapHeader(IDB_ARROW_LEFT));
    int different = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            different += right[y * 32 + x] != left[y * 32 + 31 - x];
    EXPECT_EQ(0, different);
}

}  // namespace
