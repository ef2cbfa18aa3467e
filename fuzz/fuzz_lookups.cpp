// EDL names and label-type lookups over any text and any number.
#include <cstring>

#include <labelsbase/labelsbase.h>

#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const n = in.take<int>();
    auto const u = in.take<int>();
    auto text = in.rest();
    label_t const t = edlstr_to_label_type(text.get());
    FUZZ_CHECK(t >= 0 && t < label_type_count);
    FUZZ_CHECK(edlstr_to_film_label_type(text.get()) >= 0);
    FUZZ_CHECK(edlstr_to_label_type(text.get(), static_cast<UserLabelType>(u)) >= 0);
    auto const lt = static_cast<label_t>(n);
    FUZZ_CHECK(label_type_to_edlstr(lt) != nullptr);
    FUZZ_CHECK(label_t_to_key_label_t(lt) >= 0 && label_t_to_ink_label_t(lt) >= 0 && label_t_to_foot_label_t(lt) >= 0);
    FUZZ_CHECK(label_t_to_duration_label_t(lt) == lt || label_t_to_duration_label_t(lt) >= 0);
    auto const r = static_cast<Kest::FrameRate>(n);
    FUZZ_CHECK(getDefaultTimecodeFrameRate(r) > 0.0);
    FUZZ_CHECK(getDefaultLabelTypeforFrameRate(r) > 0);
    FUZZ_CHECK(TvStd_to_label_type(TCInf{r, (u & 1) != 0}) > 0);
    (void)label_type_to_TvStd(lt);
    (void)get_vid_fps(lt);
    (void)get_label_type(text.get());
    return 0;
}
