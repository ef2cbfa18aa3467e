// The film converter factory: KeyKode, ink, feet and film frames.
#include "labelsbase/labelcvt.h"

namespace {
// Feet digits of every registered feet converter.
constexpr int kFeetDigits = 4;
}  // namespace

label_cvt* make_film_label_cvt(label_t t) {
    switch (t) {
    case keycode_35_label_t: return new keycode_35_label();
    case keycode_16_label_t: return new keycode_16_label();
    case keycode_353_label_t: return new keycode_353_label();
    case foot_35_label_t: return new foot_35_label(kFeetDigits);
    case foot_16_label_t: return new foot_16_label(kFeetDigits);
    case foot_353_label_t: return new foot_353_label(kFeetDigits);
    case ink_35_label_t: return new ink_35_label();
    case ink_16_label_t: return new ink_16_label();
    case keycode_35_label_4_t: return new keycode_35_label_4();
    case keycode_35_label_5_t: return new keycode_35_label_5();
    case keycode_35_label_6_t: return new keycode_35_label_6();
    case keycode_16_label_4_t: return new keycode_16_label_4();
    case keycode_16_label_5_t: return new keycode_16_label_5();
    case keycode_16_label_6_t: return new keycode_16_label_6();
    case keycode_353_label_4_t: return new keycode_353_label_4();
    case keycode_353_label_5_t: return new keycode_353_label_5();
    case keycode_353_label_6_t: return new keycode_353_label_6();
    case film_frames_label_t: return new film_frames_label();
    case keycode_352_label_t: return new keycode_352_label();
    case keycode_358_label_t: return new keycode_358_label();
    case keycode_655_80_label_t: return new keycode_655_80_label();
    case keycode_658_80_label_t: return new keycode_658_80_label();
    case keycode_6510_80_label_t: return new keycode_6510_80_label();
    case keycode_655_120_label_t: return new keycode_655_120_label();
    case keycode_658_120_label_t: return new keycode_658_120_label();
    case keycode_6510_120_label_t: return new keycode_6510_120_label();
    case keycode_6515_120_label_t: return new keycode_6515_120_label();
    default: return nullptr;
    }
}
