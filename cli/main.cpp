// labels: prints the library version and the label-type catalogue.
#include <cstdio>

#include <labelsbase/labelsbase.h>

int main() {
    std::printf("labelsbase %s\n", labelsBaseDllVersionStr());
    for (int i = 0; i < label_type_count; ++i) {
        LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
        label_cvt* c = get_static_label_cvt(r.type);
        std::printf("%2d %-26s %-24s cat %d modulus %6d spu %2d edl %s\n", i, r.enumerator, c->type_str(),
                    static_cast<int>(r.category), c->get_modulus(), c->samples_per_unit(), r.edl_written);
    }
    return 0;
}
