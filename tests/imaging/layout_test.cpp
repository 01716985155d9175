#include <gtest/gtest.h>

#include <cstring>

#include "imaging/dib_layout.h"

extern "C" int KvLayoutSizesFromC(void);

TEST(DibLayout, CSeesTheSameSizes) {
    EXPECT_EQ(KvLayoutSizesFromC(), 40 + 12 + 4 + 3 + 88 + 16);
}

TEST(DibLayout, LayerHeaderFieldsLandOnTheirBytes) {
    unsigned char bytes[88] = {};
    LayerHeader h{};
    h.number = 7;
    h.visible = 1;
    h.drawMode = 1;
    h.name[0] = 'A';
    h.left = -2;
    h.right = 0x01020304;
    std::memcpy(bytes, &h, sizeof h);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes[1], 1);
    EXPECT_EQ(bytes[2], 1);
    EXPECT_EQ(bytes[8], 'A');
    EXPECT_EQ(bytes[72], 0xfe);
    EXPECT_EQ(bytes[75], 0xff);
    EXPECT_EQ(bytes[80], 0x04);
    EXPECT_EQ(bytes[83], 0x01);
}
