// The pulldown sequence tables, checked against the cadence rules
// (independently of how the library spells them out) and against the rows
// the transfer suites quote.
#include <gtest/gtest.h>

#include <labelsbase/labelsbase.h>

namespace {

// ---------------------------------------------------------------------------
// 24-to-25: each film frame of a cycle takes 2 fields except frames 11 - q
// and 23 - q (q = phase mod 12), which take 3. Phases 12..23 start one field
// late; phase 24 starts film frame 0 one field early and stretches frames 0
// and 12. Built by walking the cadence, not by the closed formula.
int walked_field_start(int phase, int k) {
    int const q = phase < 24 ? phase % 12 : 11;
    int field = phase < 24 ? phase / 12 : -1;
    for (int i = 0; i < k; ++i) field += (i == 11 - q || i == 23 - q) ? 3 : 2;
    return field;
}

TEST(PogleTables, FieldStartsFollowTheCadence) {
    for (int row = 0; row < 50; ++row) {
        int const p = row / 2;
        for (int k = 0; k < 24; ++k) {
            int const expected = walked_field_start(p, k) - row % 2;  // odd rows: one field earlier
            EXPECT_EQ(pogle_derivative_table[row][k], expected) << "row " << row << " frame " << k;
            // The closed rule as the transfer suites state it.
            int const b = p < 24 ? p / 12 : -1, q = p < 24 ? p % 12 : 11;
            EXPECT_EQ(expected, b + 2 * k + (k >= 12 - q) + (k >= 24 - q) - row % 2);
        }
        // The cycle is 50 fields: the last frame ends where the next cycle's frame 0 begins.
        int const last_len = pogle_derivative_table[row][0] + 50 - pogle_derivative_table[row][23];
        EXPECT_TRUE(last_len == 2 || last_len == 3) << row;
    }
}

// The film frame each slot shows, by filling the slots each frame covers.
template <int Slots>
void expect_inverse(signed char const (&origin)[Slots], signed char const* start, char const* what, int row) {
    int shows[Slots];
    for (int s = 0; s < Slots; ++s) shows[s] = -2;  // unset
    for (int k = 0; k < 24; ++k) {
        int const end = k < 23 ? start[k + 1] : start[0] + Slots;
        for (int s = start[k]; s < end; ++s)
            if (s >= 0 && s < Slots) shows[s] = k;
    }
    for (int s = 0; s < Slots; ++s) {
        if (s < start[0]) shows[s] = -1;          // previous cycle's last frame
        if (s >= start[0] + Slots) shows[s] = 24; // next cycle's frame 0
        EXPECT_EQ(origin[s], shows[s]) << what << " row " << row << " slot " << s;
    }
}

TEST(PogleTables, OriginsInvertTheStarts) {
    for (int row = 0; row < 50; ++row)
        expect_inverse(pogle_origin_table[row], pogle_derivative_table[row], "field", row);
    for (int p = 0; p < 25; ++p)
        expect_inverse(pogle_Frame_origin_table[p], pogle_Frame_derivative_table[p], "frame", p);
}

TEST(PogleTables, FrameStartsRepeatOneVideoFramePerCycle) {
    for (int p = 0; p < 24; ++p) {
        // Every video frame but 24 - p starts a film frame; 24 - p repeats the one before.
        bool starts[26] = {};
        for (int k = 0; k < 24; ++k) {
            int const j = pogle_Frame_derivative_table[p][k];
            ASSERT_GE(j, 0);
            ASSERT_LE(j, 24);
            starts[j] = true;
            if (k > 0) {
                EXPECT_GT(j, pogle_Frame_derivative_table[p][k - 1]);
            }
        }
        for (int j = 0; j < 25; ++j) EXPECT_EQ(starts[j], j != 24 - p) << p << " " << j;
    }
    EXPECT_EQ(pogle_Frame_derivative_table[24][0], -1);
    for (int k = 1; k < 24; ++k) EXPECT_EQ(pogle_Frame_derivative_table[24][k], k);
}

TEST(PogleTables, QuotedRows) {
    // Phase 0: frames 11 and 23 take three fields.
    for (int k = 0; k < 12; ++k) EXPECT_EQ(pogle_derivative_table[0][k], 2 * k);
    for (int k = 12; k < 24; ++k) EXPECT_EQ(pogle_derivative_table[0][k], 2 * k + 1);
    // Phase 12 starts a field late; phase 24 a field early.
    for (int k = 0; k < 12; ++k) EXPECT_EQ(pogle_derivative_table[24][k], 2 * k + 1);
    EXPECT_EQ(pogle_derivative_table[24][12], 26);
    EXPECT_EQ(pogle_derivative_table[24][23], 48);
    EXPECT_EQ(pogle_derivative_table[48][0], -1);
    EXPECT_EQ(pogle_derivative_table[48][1], 2);
    EXPECT_EQ(pogle_derivative_table[48][12], 24);
    EXPECT_EQ(pogle_derivative_table[48][13], 27);
    EXPECT_EQ(pogle_derivative_table[48][23], 47);
    // Origins: phase 0 shows frame 11 and 23 three times; row 24 starts in
    // the previous cycle; row 49 ends in the next.
    signed char const row0_tail[] = {11, 11, 11, 12, 12};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pogle_origin_table[0][22 + i], row0_tail[i]);
    EXPECT_EQ(pogle_origin_table[0][47], 23);
    EXPECT_EQ(pogle_origin_table[0][49], 23);
    signed char const row24_head[] = {-1, 0, 0, 1, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pogle_origin_table[24][i], row24_head[i]);
    EXPECT_EQ(pogle_origin_table[49][48], 24);
    EXPECT_EQ(pogle_origin_table[49][49], 24);
    // Frame origins of phases 0, 23 and 24.
    for (int j = 0; j < 24; ++j) EXPECT_EQ(pogle_Frame_origin_table[0][j], j);
    EXPECT_EQ(pogle_Frame_origin_table[0][24], 23);
    EXPECT_EQ(pogle_Frame_origin_table[23][0], 0);
    for (int j = 1; j < 25; ++j) EXPECT_EQ(pogle_Frame_origin_table[23][j], j - 1);
    for (int j = 0; j < 25; ++j) EXPECT_EQ(pogle_Frame_origin_table[24][j], j);
}

// ---------------------------------------------------------------------------
// 2:3: the stored rows, and the cadence they encode.

TEST(Pull23Tables, StoredRows) {
    signed char const deriv[10][4] = {{0, 2, 5, 7}, {-1, 1, 4, 6}, {0, 3, 5, 8}, {-1, 2, 4, 7},
                                      {1, 3, 6, 8}, {0, 2, 5, 7},  {-1, 1, 4, 6}, {0, 3, 5, 8},
                                      {-1, 2, 4, 7}, {-2, 1, 3, 6}};
    signed char const frame_deriv[5][4] = {{0, 1, 2, 3}, {0, 1, 2, 4}, {0, 1, 3, 4}, {0, 2, 3, 4}, {1, 2, 3, 4}};
    signed char const origin[5][10] = {{0, 0, 1, 1, 1, 2, 2, 3, 3, 3}, {0, 1, 1, 1, 2, 2, 3, 3, 3, 4},
                                       {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}, {0, 0, 1, 1, 2, 2, 2, 3, 3, 4},
                                       {0, 1, 1, 2, 2, 2, 3, 3, 4, 4}};
    signed char const frame_origin[5][5] = {{0, 1, 2, 3, 3}, {0, 1, 2, 2, 3}, {0, 1, 1, 2, 3}, {0, 0, 1, 2, 3},
                                            {0, 1, 2, 3, 4}};
    for (int r = 0; r < 10; ++r) {
        for (int k = 0; k < 4; ++k) EXPECT_EQ(pull23_derivative_table[r][k], deriv[r][k]) << r;
        for (int f = 0; f < 10; ++f) EXPECT_EQ(pull23_origin_table[r][f], origin[r % 5][f]) << r;
    }
    for (int p = 0; p < 5; ++p) {
        for (int k = 0; k < 4; ++k) EXPECT_EQ(pull23_Frame_derivative_table[p][k], frame_deriv[p][k]) << p;
        for (int j = 0; j < 5; ++j) EXPECT_EQ(pull23_Frame_origin_table[p][j], frame_origin[p][j]) << p;
    }
}

TEST(Pull23Tables, ReadRowsAreTwoThreeCadences) {
    for (int p = 0; p < 5; ++p) {
        signed char const* s = pull23_derivative_table[2 * p];
        int total = 0;
        for (int k = 0; k < 4; ++k) {
            int const len = (k < 3 ? s[k + 1] : s[0] + 10) - s[k];
            EXPECT_TRUE(len == 2 || len == 3) << p;
            total += len;
        }
        EXPECT_EQ(total, 10);
        // In frames, one film frame of the four is held for two video frames.
        signed char const* fs = pull23_Frame_derivative_table[p];
        int held = 0;
        for (int k = 0; k < 4; ++k) {
            int const len = (k < 3 ? fs[k + 1] : fs[0] + 5) - fs[k];
            EXPECT_TRUE(len == 1 || len == 2) << p;
            held += len == 2;
        }
        EXPECT_EQ(held, 1) << p;
    }
}

// A film frame's first field (frame) shows that film frame, except at the
// two phases whose origin rows count the first slot's frame as frame 0 of
// the cycle: there it shows the next one.
TEST(Pull23Tables, OriginsInvertStartsExceptTheTwoShiftedPhases) {
    for (int p = 0; p < 5; ++p) {
        int const field_shift = p == 2 ? 1 : 0;
        int const frame_shift = p == 4 ? 1 : 0;
        for (int n = 0; n < 8; ++n) {
            int const f = pull23_derivative_table[2 * p][n % 4] + 10 * (n / 4) + 10;  // shifted one cycle on
            EXPECT_EQ(pull23_origin_table[2 * p][f % 10] + 4 * (f / 10), n + 4 + field_shift) << p << " " << n;
            int const j = pull23_Frame_derivative_table[p][n % 4] + 5 * (n / 4) + 5;
            EXPECT_EQ(pull23_Frame_origin_table[p][j % 5] + 4 * (j / 5), n + 4 + frame_shift) << p << " " << n;
        }
    }
}

}  // namespace
