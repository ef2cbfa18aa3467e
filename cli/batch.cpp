// The batch engine: one conversion per input line, one output line (or
// JSON Lines record) per input line, in order. Nothing is allocated per
// line: the line buffer grows to the longest line once, the conversion
// writes into fixed buffers and the output goes straight to the Output.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/cli.h"

namespace cli {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// "error: line N: " in front of a failure in text mode.
void put_line_error(Output& out, long long lineno, char const* why) {
    out.put("error: line ");
    out.put_int(lineno);
    out.put(": ");
    out.put(why);
}

}  // namespace

BatchCount convert_stream(TextConverter& c, std::FILE* in, Output& out, BatchOptions const& o) {
    BatchCount n;
    char* line = nullptr;
    std::size_t cap = 0;
    ConversionResult r;
    char why[sizeof r.error + 64];
    for (;;) {
        errno = 0;
        ssize_t const got = getline(&line, &cap, in);
        if (got < 0) {
            if (std::ferror(in)) n.read_error = errno ? errno : EIO;
            break;
        }
        ++n.lines;
        std::size_t len = static_cast<std::size_t>(got);
        while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r')) line[--len] = '\0';
        char* text = line;
        // A byte-order mark at the start of the input is no part of the text.
        if (n.lines == 1 && len >= 3 && std::memcmp(text, kBom, 3) == 0) {
            text += 3;
            len -= 3;
        }
        char const* p = text;
        std::size_t const blank = len - trimmed(p, len);
        bool const has_nul = std::memchr(text, '\0', len) != nullptr;
        bool ok = false;
        char const* error = nullptr;
        if (has_nul) {
            std::snprintf(why, sizeof why, "the line holds a NUL byte (at character %zu)",
                          static_cast<std::size_t>(static_cast<char const*>(std::memchr(text, '\0', len)) - text) + 1);
            error = why;
        } else if (blank == len || *p == '#') {
            // Blank lines and comments pass through, so output lines stay
            // in step with input lines.
            if (out.json_mode) {
                JsonRecord rec(out);
                rec.number("line", n.lines);
                if (rec.string("input", text, len)) rec.boolean("not_utf8", true);
                rec.end();
            } else {
                out.put(text, len);
                out.put_char('\n');
            }
            if (o.line_buffered) out.flush();
            if (out.failed()) break;
            continue;
        } else {
            ok = c.run(text, r);
            if (!ok) error = r.error;
        }
        if (!ok) {
            ++n.failed;
            if (!n.first_failed) n.first_failed = n.lines;
        }
        bool const mixed = ok && o.mark_mixed && c.mixes_film_frames(r);
        if (out.json_mode) {
            JsonRecord rec(out);
            rec.number("line", n.lines);
            bool bad_utf8 = rec.string("input", text, len);
            if (ok) {
                rec.number("sample", r.sample);
                rec.number("target_sample", r.target_sample);
                rec.string("text", trim_sign_column(r.text));
                if (o.mark_mixed) rec.boolean("mixed", mixed);
            } else {
                bad_utf8 = rec.string("error", error) || bad_utf8;
            }
            // Bytes that are not UTF-8 are shown as U+FFFD; say so.
            if (bad_utf8) rec.boolean("not_utf8", true);
            rec.end();
        } else {
            if (o.echo) {
                out.put(text, len);
                out.put_char('\t');
            }
            if (ok) {
                out.put(trim_sign_column(r.text));
                if (o.mark_mixed) out.put(mixed ? "\tmixed" : "\t");
            } else {
                put_line_error(out, n.lines, error);
            }
            out.put_char('\n');
        }
        if (o.line_buffered) out.flush();
        if (out.failed()) break;
    }
    std::free(line);
    if (n.read_error && out.json_mode) {
        char msg[160];
        std::snprintf(msg, sizeof msg, "reading the input failed after line %lld: %s", n.lines,
                      std::strerror(n.read_error));
        JsonRecord rec(out);
        rec.string("error", msg);
        rec.end();
    }
    return n;
}

}  // namespace cli
