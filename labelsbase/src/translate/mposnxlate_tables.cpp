// The pulldown sequence tables.
//
// 2:3 pulldown: 4 film frames fill 5 video frames (10 fields). The rows are
// stored as the transfer suites laid them out. At phase 2 (field row 4) and
// phase 4 (frame row 4) the origin rows call the film frame on screen in the
// first slot of the cycle frame 0 while the derivative rows count it as the
// last frame of the previous cycle, so a film frame taken to video and back
// at those phases comes out one frame later; that is how the tables are.
//
// 24-to-25 pulldown: 24 film frames fill 25 video frames (50 fields). Each
// film frame takes 2 fields except two per cycle that take 3; in frame
// terms one video frame per cycle repeats the film frame before it. These
// tables are generated at compile time from those rules.
#include "labelsbase/mposnxlate.h"

// ---------------------------------------------------------------------------
// 2:3

constexpr signed char pull23_derivative_table[10][4] = {
    {0, 2, 5, 7}, {-1, 1, 4, 6}, {0, 3, 5, 8}, {-1, 2, 4, 7}, {1, 3, 6, 8},
    {0, 2, 5, 7}, {-1, 1, 4, 6}, {0, 3, 5, 8}, {-1, 2, 4, 7}, {-2, 1, 3, 6},
};

constexpr signed char pull23_Frame_derivative_table[5][4] = {
    {0, 1, 2, 3}, {0, 1, 2, 4}, {0, 1, 3, 4}, {0, 2, 3, 4}, {1, 2, 3, 4},
};

constexpr signed char pull23_origin_table[10][10] = {
    {0, 0, 1, 1, 1, 2, 2, 3, 3, 3}, {0, 1, 1, 1, 2, 2, 3, 3, 3, 4}, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3},
    {0, 0, 1, 1, 2, 2, 2, 3, 3, 4}, {0, 1, 1, 2, 2, 2, 3, 3, 4, 4}, {0, 0, 1, 1, 1, 2, 2, 3, 3, 3},
    {0, 1, 1, 1, 2, 2, 3, 3, 3, 4}, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}, {0, 0, 1, 1, 2, 2, 2, 3, 3, 4},
    {0, 1, 1, 2, 2, 2, 3, 3, 4, 4},
};

constexpr signed char pull23_Frame_origin_table[5][5] = {
    {0, 1, 2, 3, 3}, {0, 1, 2, 2, 3}, {0, 1, 1, 2, 3}, {0, 0, 1, 2, 3}, {0, 1, 2, 3, 4},
};

// ---------------------------------------------------------------------------
// 24-to-25

namespace {

constexpr int kFilm = 24;    // film frames per cycle
constexpr int kVideo = 25;   // video frames per cycle
constexpr int kFields = 50;  // fields per cycle

// Field (of 50) at which film frame k (0..23) begins, field row r (0..49).
// Phase p = r / 2 starts b fields late and stretches frames 11 - q and
// 23 - q to 3 fields; the last phase starts film frame 0 one field early in
// the previous cycle. An odd row is its even row one field earlier.
constexpr int pogle_field_start(int r, int k) {
    int const p = r / 2;
    int const b = p < 24 ? p / 12 : -1;  // [-1, 1]
    int const q = p < 24 ? p % 12 : 11;  // [0, 11]
    return b + 2 * k + (k >= 12 - q ? 1 : 0) + (k >= 24 - q ? 1 : 0) - r % 2;
}

// Video frame (of 25) at which film frame k begins at phase p (0..24): video
// frame 24 - p repeats the film frame before it; at phase 24 film frame 0
// begins in the last video frame of the previous cycle.
constexpr int pogle_frame_start(int p, int k) {
    if (p == 24) return k == 0 ? -1 : k;
    return k + (k >= 24 - p ? 1 : 0);
}

// The film frame on screen at slot s of a cycle of `slots` whose film frames
// begin at start(row, k): -1 before frame 0, 24 from frame 0 of the next cycle.
template <int (*start)(int, int)>
constexpr int pogle_shown(int row, int s, int slots) {
    if (s >= start(row, 0) + slots) return kFilm;
    int shown = -1;
    for (int k = 0; k < kFilm; ++k)
        if (start(row, k) <= s) shown = k;
    return shown;
}

// Entries by row and column.
constexpr signed char derivative_at(int r, int k) { return static_cast<signed char>(pogle_field_start(r, k)); }
constexpr signed char frame_derivative_at(int p, int k) { return static_cast<signed char>(pogle_frame_start(p, k)); }
constexpr signed char origin_at(int r, int f) {
    return static_cast<signed char>(pogle_shown<pogle_field_start>(r, f, kFields));
}
constexpr signed char frame_origin_at(int p, int j) {
    return static_cast<signed char>(pogle_shown<pogle_frame_start>(p, j, kVideo));
}

}  // namespace

// The tables spelled out row by row: f(r, c) for every column c of row r,
// then every row.
#define LB_COLS5(f, r, c) f(r, (c)), f(r, (c) + 1), f(r, (c) + 2), f(r, (c) + 3), f(r, (c) + 4)
#define LB_COLS25(f, r, c)                                                                          \
    LB_COLS5(f, r, c), LB_COLS5(f, r, (c) + 5), LB_COLS5(f, r, (c) + 10), LB_COLS5(f, r, (c) + 15), \
        LB_COLS5(f, r, (c) + 20)
#define LB_ROW24(f, r)                                                                                              \
    {                                                                                                               \
        LB_COLS5(f, r, 0), LB_COLS5(f, r, 5), LB_COLS5(f, r, 10), LB_COLS5(f, r, 15), f(r, 20), f(r, 21), f(r, 22), \
            f(r, 23)                                                                                                \
    }
#define LB_ROW25(f, r) \
    { LB_COLS25(f, r, 0) }
#define LB_ROW50(f, r) \
    { LB_COLS25(f, r, 0), LB_COLS25(f, r, 25) }
#define LB_ROWS5(row, f, r) row(f, (r)), row(f, (r) + 1), row(f, (r) + 2), row(f, (r) + 3), row(f, (r) + 4)
#define LB_ROWS25(row, f, r)                                                                                \
    LB_ROWS5(row, f, r), LB_ROWS5(row, f, (r) + 5), LB_ROWS5(row, f, (r) + 10), LB_ROWS5(row, f, (r) + 15), \
        LB_ROWS5(row, f, (r) + 20)

constexpr signed char pogle_derivative_table[50][24] = {LB_ROWS25(LB_ROW24, derivative_at, 0),
                                                        LB_ROWS25(LB_ROW24, derivative_at, 25)};

constexpr signed char pogle_Frame_derivative_table[25][24] = {LB_ROWS25(LB_ROW24, frame_derivative_at, 0)};

constexpr signed char pogle_origin_table[50][50] = {LB_ROWS25(LB_ROW50, origin_at, 0),
                                                    LB_ROWS25(LB_ROW50, origin_at, 25)};

constexpr signed char pogle_Frame_origin_table[25][25] = {LB_ROWS25(LB_ROW25, frame_origin_at, 0)};

#undef LB_COLS5
#undef LB_COLS25
#undef LB_ROW24
#undef LB_ROW25
#undef LB_ROW50
#undef LB_ROWS5
#undef LB_ROWS25

// The rows cover each table to its last entry (a short row would leave
// zeros at its end), and the rows the transfer suites quote come out as quoted.
static_assert(pogle_derivative_table[49][23] == 46 && pogle_Frame_derivative_table[24][23] == 23 &&
                  pogle_origin_table[49][49] == 24 && pogle_Frame_origin_table[24][24] == 24,
              "24-to-25 tables filled to the end");
static_assert(pogle_derivative_table[0][11] == 22 && pogle_derivative_table[0][12] == 25 &&
                  pogle_derivative_table[24][0] == 1 && pogle_derivative_table[48][0] == -1 &&
                  pogle_derivative_table[48][1] == 2 && pogle_derivative_table[48][13] == 27,
              "24-to-25 field starts at phases 0, 12 and 24");
static_assert(pogle_origin_table[24][0] == -1 && pogle_origin_table[0][24] == 11 &&
                  pogle_Frame_origin_table[0][24] == 23 && pogle_Frame_origin_table[23][1] == 0,
              "24-to-25 origins");
