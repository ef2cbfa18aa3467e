// The pulldown sequence tables against the cadences they encode, built here
// by walking the cadence rather than from the tables' own formulas. Odd
// field rows are the even row of the same phase one field earlier.
#include <algorithm>

#include "test_support.h"

namespace {

// 24-to-25: each film frame takes 2 fields but frames 11 - q and 23 - q
// (q = phase mod 12), which take 3. Phases 12..23 start a field late;
// phase 24 starts frame 0 a field early.
int walked_field_start(int phase, int k) {
    int const q = phase < 24 ? phase % 12 : 11;
    int field = phase < 24 ? phase / 12 : -1;
    for (int i = 0; i < k; ++i) field += (i == 11 - q || i == 23 - q) ? 3 : 2;
    return field;
}

// Each slot shows the film frame whose span covers it: -1 before the
// cycle's first start, 24 from the next cycle's first start.
template <int Slots>
void expect_inverse(signed char const (&origin)[Slots], signed char const* start, char const* what, int row) {
    for (int s = 0; s < Slots; ++s) {
        int shows = s < start[0] ? -1 : 24;
        for (int k = 0; k < 24; ++k)
            if (s >= start[k] && s < (k < 23 ? start[k + 1] : start[0] + Slots)) shows = k;
        EXPECT_EQ(origin[s], shows) << what << " row " << row << " slot " << s;
    }
}

TEST(PogleTables, StartsFollowTheCadenceAndOriginsInvertThem) {
    for (int row = 0; row < 50; ++row) {
        for (int k = 0; k < 24; ++k)
            EXPECT_EQ(pogle_derivative_table[row][k], walked_field_start(row / 2, k) - row % 2) << row << " " << k;
        expect_inverse(pogle_origin_table[row], pogle_derivative_table[row], "field", row);
    }
    for (int p = 0; p < 25; ++p)
        expect_inverse(pogle_Frame_origin_table[p], pogle_Frame_derivative_table[p], "frame", p);
    // In frames every video frame but 24 - p starts a film frame; 24 - p repeats the one before.
    for (int p = 0; p < 24; ++p) {
        int k = 0;
        for (int j = 0; j < 25; ++j)
            if (j != 24 - p) {
                EXPECT_EQ(pogle_Frame_derivative_table[p][k++], j) << p;
            }
    }
    EXPECT_EQ(pogle_Frame_derivative_table[24][0], -1);
    for (int k = 1; k < 24; ++k) EXPECT_EQ(pogle_Frame_derivative_table[24][k], k);
}

// The film frame (of 4 a cycle, counted on into the next cycles) whose
// span covers each slot of a 2:3 row.
template <int Slots>
void expect_pull23_inverse(signed char const (&origin)[Slots], signed char const* start, int shift, int row) {
    for (int s = 0; s < Slots; ++s) {
        int covers = -9;
        for (int k = 0; k < 4; ++k)
            for (int cycle = -1; cycle <= 1; ++cycle) {
                int const from = start[k] + cycle * Slots,
                          to = (k < 3 ? start[k + 1] : start[0] + Slots) + cycle * Slots;
                if (s >= from && s < to) covers = k + 4 * cycle;
            }
        EXPECT_EQ(origin[s], covers + shift) << "row " << row << " slot " << s;
    }
}

// 2:3: phase p starts p video frames (2p fields) into the A-B-C-D cadence
// of 2, 3, 2 and 3 fields; a frame starting in the cycle's last field
// begins in the previous cycle. Odd rows hold the same cadence a field
// earlier. Origins invert the starts, but for phase 2's field row and
// phase 4's frame row, which count the first slot's frame as frame 0.
TEST(Pull23Tables, StartsFollowTheCadenceAndOriginsInvertThem) {
    int const base[4] = {0, 2, 5, 7};
    for (int p = 0; p < 5; ++p) {
        int starts[4], earlier[4], odd[4];
        for (int k = 0; k < 4; ++k) starts[k] = ((base[k] - 2 * p) % 10 + 10) % 10;
        std::sort(starts, starts + 4);
        if (starts[3] == 9) std::rotate(starts, starts + 3, starts + 4), starts[0] = -1;
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(pull23_derivative_table[2 * p][k], starts[k]) << p << " " << k;
            earlier[k] = (starts[k] + 9) % 10;
            odd[k] = (pull23_derivative_table[2 * p + 1][k] + 10) % 10;
            if (k > 0) {
                EXPECT_LT(pull23_derivative_table[2 * p + 1][k - 1], pull23_derivative_table[2 * p + 1][k]);
            }
        }
        std::sort(earlier, earlier + 4);
        std::sort(odd, odd + 4);
        EXPECT_TRUE(std::equal(odd, odd + 4, earlier)) << p;
        expect_pull23_inverse(pull23_origin_table[2 * p], pull23_derivative_table[2 * p], p == 2 ? 1 : 0, 2 * p);
        expect_pull23_inverse(pull23_origin_table[2 * p + 1], pull23_derivative_table[2 * p + 1], 0, 2 * p + 1);
        expect_pull23_inverse(pull23_Frame_origin_table[p], pull23_Frame_derivative_table[p], p == 4 ? 1 : 0, p);
        // In frames every video frame but 4 - p starts a film frame; 4 - p repeats the one before.
        for (int j = 0, k = 0; j < 5; ++j)
            if (j != 4 - p) {
                EXPECT_EQ(pull23_Frame_derivative_table[p][k++], j) << p;
            }
    }
    EXPECT_EQ(pull23_Frame_derivative_table[0][3], 3);  // phase 0: video frame 4 repeats film frame 3
    EXPECT_EQ(pull23_Frame_origin_table[0][4], 3);
}

}  // namespace
