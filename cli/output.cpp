// Text and JSON output of the commands.
#include "cli/cli.h"

namespace cli {

void Output::fail(std::string const& message) {
    std::fprintf(stderr, "labels: error: %s\n", message.c_str());
    status = exit_failed;
}

void Output::line(std::string const& text) {
    if (json_mode) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void Output::finish() {
    if (!json_mode || doc.is_null()) return;
    std::string const s = doc.dump(2);
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fputc('\n', stdout);
}

}  // namespace cli
