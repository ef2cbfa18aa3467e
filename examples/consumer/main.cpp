// Takes a 35 mm KeyKode edge number through 2:3 pulldown to the 29.97 fps
// drop-frame timecode of the NTSC video it was transferred to.
#include <cstdio>
#include <cstring>

#include <labelsbase/labelsbase.h>

int main(int argc, char** argv) {
    char const* keykode = argc > 1 ? argv[1] : "KJ2312340012+05";

    // The KeyKode label on film: one sample is one perforation.
    EditLabel film(keycode_35_label_t, MediumRollIdent{film_Medium, any_Generation});
    int const perfs = film.start.cvt()->get_abs_sample(keykode);
    if (perfs == invalid_sample) {
        std::fprintf(stderr, "cannot read %s as 35 mm KeyKode\n", keykode);
        return 1;
    }

    // The same instant on the video, through 2:3 pulldown starting at phase 0.
    MPosn_Xlate_Params params;
    params.init_for_labelgroup(transfer_pull23, 0);
    double const seconds = mPosn_Xlate(film.sample_to_posn(perfs), film_Medium, source_30i_1001_Medium, params, false);

    // Written as drop-frame timecode of that video.
    EditLabel video(ntsc_drop_label_t, MediumRollIdent{source_30i_1001_Medium, any_Generation});
    LabelPoint tc(video.abs_posn_to_sample(seconds), ntsc_drop_label_t);
    std::printf("labelsbase %s: %s -> %s\n", labelsBaseDllVersionStr(), keykode, tc.get_string());
    return 0;
}
