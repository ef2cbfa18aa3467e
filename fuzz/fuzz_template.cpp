// Random templates and positions: typing checks and invalid strings.
#include <cstring>
#include <initializer_list>

#include <labelsbase/labelsbase.h>

#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const sample = in.take<int>();
    auto tmpl = in.text(256);
    LabelTemplate t{LightweightString<char>(tmpl.get())};
    size_t const n = std::strlen(tmpl.get());
    while (in.left() > 0) {
        auto const c = in.take<char>();
        auto const pos = in.take<uint16_t>();
        bool const valid = t.isValidChar(c, pos);
        bool const sep = t.isAtSeparator(pos);
        FUZZ_CHECK(!(valid && sep));              // a separator accepts nothing
        FUZZ_CHECK(pos < n || (!valid && !sep));  // nothing past the end
    }
    for (int s : {sample, invalid_sample, past_end_sample, before_start_sample}) {
        char const* inv = t.getInvalidString(s);
        FUZZ_CHECK(std::strlen(inv) == n);
    }
    t.set(LightweightString<char>("-29.59.59.29"));
    FUZZ_CHECK(std::strcmp(t.getInvalidString(invalid_sample), "???.??.??.??") == 0);
    return 0;
}
