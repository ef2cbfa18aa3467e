// Text and JSON output of the commands, with every write checked.
#include <cerrno>
#include <charconv>

#include "cli/cli.h"

namespace cli {

namespace {

// Length of the valid UTF-8 sequence at s (of n bytes), 0 if none.
std::size_t utf8_sequence(unsigned char const* s, std::size_t n) {
    unsigned char const c = s[0];
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
        len = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (n < len) return 0;
    if (s[1] < lo || s[1] > hi) return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (s[i] < 0x80 || s[i] > 0xBF) return 0;
    return len;
}

}  // namespace

void Output::fail(std::string const& message) {
    std::fprintf(stderr, "labels: error: %s\n", message.c_str());
    status = exit_failed;
}

void Output::note(std::string const& message) {
    if (!quiet) std::fprintf(stderr, "labels: note: %s\n", message.c_str());
}

void Output::line(std::string const& text) {
    if (json_mode) return;
    put(text.data(), text.size());
    put_char('\n');
}

void Output::finish() {
    if (!json_mode || doc.is_null()) return;
    std::string const s = doc.dump(2, ' ', false, json::error_handler_t::replace);
    put(s.data(), s.size());
    put_char('\n');
}

void Output::check() {
    if (!error_) error_ = errno ? errno : EIO;
}

void Output::drain() {
    if (len_ && !error_ && file_ && std::fwrite(buf_, 1, len_, file_) != len_) check();
    len_ = 0;
}

void Output::put_long(char const* s, std::size_t n) {
    drain();
    if (n <= sizeof buf_) {
        std::memcpy(buf_, s, n);
        len_ = n;
    } else if (!error_ && file_ && std::fwrite(s, 1, n, file_) != n) {
        check();
    }
}

void Output::put_int(long long v) {
    char buf[24];
    auto const r = std::to_chars(buf, buf + sizeof buf, v);
    put(buf, static_cast<std::size_t>(r.ptr - buf));
}

void Output::put_double(double v) {
    char buf[32];
    auto const r = std::to_chars(buf, buf + sizeof buf, v);
    put(buf, static_cast<std::size_t>(r.ptr - buf));
}

bool Output::put_json_string(char const* text, std::size_t n) {
    bool replaced = false;
    put_char('"');
    unsigned char const* s = reinterpret_cast<unsigned char const*>(text);
    unsigned char const* const end = s + n;
    unsigned char const* run = s;
    while (s < end) {
        unsigned char const c = *s;
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            ++s;
            continue;
        }
        if (c >= 0x80) {
            std::size_t const k = utf8_sequence(s, static_cast<std::size_t>(end - s));
            if (k) {
                s += k;
                continue;
            }
        }
        put(reinterpret_cast<char const*>(run), static_cast<std::size_t>(s - run));
        if (c == '"' || c == '\\') {
            char const esc[2] = {'\\', static_cast<char>(c)};
            put(esc, 2);
        } else if (c < 0x20) {
            static char const hex[] = "0123456789abcdef";
            char const esc[6] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
            put(esc, 6);
        } else {
            put("\\ufffd", 6);
            replaced = true;
        }
        run = ++s;
    }
    put(reinterpret_cast<char const*>(run), static_cast<std::size_t>(s - run));
    put_char('"');
    return replaced;
}

bool Output::flush() {
    drain();
    if (!error_ && file_ && std::fflush(file_) != 0) error_ = errno ? errno : EIO;
    return !error_;
}

bool Output::close() {
    if (file_) {
        flush();
        if (std::fclose(file_) != 0 && !error_) error_ = errno ? errno : EIO;
        file_ = nullptr;
    }
    if (!error_) return true;
    if (!reported_) {
        reported_ = true;
        std::fprintf(stderr, "labels: error: writing the output failed: %s\n", std::strerror(error_));
    }
    status = exit_failed;
    return false;
}

}  // namespace cli
