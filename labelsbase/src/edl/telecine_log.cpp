// Telecine logs: a CSV file tying video timecodes of each reel to KeyKode.
#include <cstdlib>
#include <memory>

#include "detail/edl_internal.h"
#include "labelsbase/LabelPoint.h"

namespace edl {

using namespace detail;

namespace {

// One CSV record from `pos`: fields split at commas, "..." quoting with ""
// for a quote; a record ends at a line ending outside quotes. `lines`
// counts the line endings passed.
std::vector<std::string> csv_record(std::string const& b, std::size_t& pos, int& lines, bool& bad_quote) {
    std::vector<std::string> out;
    std::string field;
    bool quoted = false, was_quoted = false;
    bad_quote = false;
    while (pos < b.size()) {
        char const c = b[pos];
        if (quoted) {
            if (c == '"') {
                if (pos + 1 < b.size() && b[pos + 1] == '"') {
                    field += '"';
                    pos += 2;
                    continue;
                }
                quoted = false;
                ++pos;
                continue;
            }
            if (c == '\n') ++lines;
            field += c;
            ++pos;
            continue;
        }
        if (c == '"' && trim(field).empty() && !was_quoted) {
            field.clear();
            quoted = was_quoted = true;
            ++pos;
            continue;
        }
        if (c == ',') {
            out.push_back(was_quoted ? field : trim(field));
            field.clear();
            was_quoted = false;
            ++pos;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++pos;
            if (c == '\r' && pos < b.size() && b[pos] == '\n') ++pos;
            ++lines;
            out.push_back(was_quoted ? field : trim(field));
            return out;
        }
        field += c;
        ++pos;
    }
    if (quoted) bad_quote = true;
    out.push_back(was_quoted ? field : trim(field));
    return out;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool parse_transfer(std::string const& t, transfer_type& out) {
    std::string const u = lower(t);
    if (u.empty())
        out = transfer_unspecified;
    else if (u == "pull23" || u == "2:3" || u == "2-3" || u == "23" || u == "3:2")
        out = transfer_pull23;
    else if (u == "pogle" || u == "24-to-25" || u == "24to25" || u == "24:25")
        out = transfer_pogle;
    else if (u == "frame" || u == "1:1" || u == "none")
        out = transfer_frame_for_frame;
    else
        return false;
    return true;
}

bool parse_keycode_type(std::string const& t, label_t& out) {
    std::string u = lower(t);
    if (u.empty()) {
        out = keycode_35_label_t;
        return true;
    }
    if (u.size() < 6 || u.compare(u.size() - 6, 6, "_label") != 0) u += "_label";
    for (int i = 0; i < label_type_count; ++i) {
        LabelTypeInfo const& info = label_type_info(static_cast<label_t>(i));
        if (info.has_converter && info.category == keycode_UserLabel && u == info.class_name) {
            out = info.type;
            return true;
        }
    }
    return false;
}

}  // namespace

namespace detail {

// The KeyKode text as a sample of the type's converter, its prefix apart.
bool read_keykode(label_cvt* c, std::string const& raw, std::string& prefix, int& sample) {
    std::string s;
    for (char ch : raw)
        if (ch != ' ' && ch != '\t') s += ch;
    std::size_t const pre = static_cast<std::size_t>(c->get_prefix_length());
    std::size_t const cnt = static_cast<std::size_t>(c->get_count_length());
    if (s.size() < pre + cnt + 2 || s.size() > 21) return false;
    for (std::size_t i = pre; i < pre + cnt; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    if (s[pre + cnt] != '+' && s[pre + cnt] != c->getFrameSeparator()) return false;
    std::size_t i = pre + cnt + 1, digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (digits == 0 || digits > 2) return false;
    if (i < s.size() && !(s[i] == '.' && i + 2 == s.size() && s[i + 1] >= '1' && s[i + 1] <= '9')) return false;
    sample = c->get_abs_sample(s.c_str());
    if (sample == invalid_sample) return false;
    prefix = s.substr(0, pre);
    return true;
}

}  // namespace detail

TelecineLog read_telecine_log(std::string const& bytes, Rate rate) {
    TelecineLog log;
    std::size_t pos = 0;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    int line = 1;
    std::vector<std::string> header;
    int col_reel = -1, col_tc = -1, col_kk = -1, col_phase = -1, col_type = -1, col_transfer = -1, col_cam = -1,
        col_lab = -1;
    std::unique_ptr<label_cvt> cvts[label_type_count];
    while (pos < bytes.size()) {
        int const start = line;
        bool bad_quote = false;
        std::vector<std::string> rec = csv_record(bytes, pos, line, bad_quote);
        if (bad_quote) {
            log.problems.push_back(Problem{start, Severity::error, "a quoted field is not closed"});
            break;
        }
        if (rec.size() == 1 && rec[0].empty()) continue;
        if (!rec[0].empty() && rec[0][0] == '#') continue;
        if (header.empty()) {
            for (std::string const& h : rec) header.push_back(lower(trim(h)));
            for (std::size_t i = 0; i < header.size(); ++i) {
                int const k = static_cast<int>(i);
                std::string const& h = header[i];
                if (h == "reel" || h == "tape")
                    col_reel = k;
                else if (h == "timecode" || h == "tc")
                    col_tc = k;
                else if (h == "keykode" || h == "keycode")
                    col_kk = k;
                else if (h == "phase" || h == "pulldown")
                    col_phase = k;
                else if (h == "type")
                    col_type = k;
                else if (h == "transfer")
                    col_transfer = k;
                else if (h == "camroll" || h == "cam roll" || h == "camera roll")
                    col_cam = k;
                else if (h == "labroll" || h == "lab roll")
                    col_lab = k;
            }
            std::string missing;
            if (col_reel < 0) missing += " reel";
            if (col_tc < 0) missing += " timecode";
            if (col_kk < 0) missing += " keykode";
            if (!missing.empty()) {
                log.problems.push_back(Problem{start, Severity::error, "the header row lacks the column(s)" + missing});
                return log;
            }
            continue;
        }
        auto get = [&](int col) {
            return col >= 0 && static_cast<std::size_t>(col) < rec.size() ? rec[static_cast<std::size_t>(col)]
                                                                          : std::string();
        };
        auto fail = [&](std::string m) { log.problems.push_back(Problem{start, Severity::error, std::move(m)}); };
        if (rec.size() != header.size()) {
            fail("the row has " + std::to_string(rec.size()) + " fields, the header " + std::to_string(header.size()));
            continue;
        }
        LogRow row;
        row.line = start;
        row.reel = get(col_reel);
        row.timecode = get(col_tc);
        row.keykode = get(col_kk);
        row.camroll = get(col_cam);
        row.labroll = get(col_lab);
        if (row.reel.empty()) {
            fail("the row names no reel");
            continue;
        }
        std::string why;
        if (!read_timecode(row.timecode, rate, row.frames, why)) {
            fail("timecode " + why + " at " + rate_name(rate));
            continue;
        }
        if (!parse_keycode_type(get(col_type), row.type)) {
            fail("type '" + get(col_type) + "' is not a KeyKode type (keycode_35, keycode_16, keycode_353, ...)");
            continue;
        }
        if (!parse_transfer(get(col_transfer), row.transfer)) {
            fail("transfer '" + get(col_transfer) + "' is not pull23, pogle or frame");
            continue;
        }
        std::string const ph = upper(get(col_phase));
        if (ph.empty())
            row.phase = 0;
        else if (ph.size() == 1 && ph[0] >= 'A' && ph[0] <= 'D') {
            // The film frame whose first video frame the timecode is: the
            // clean A and B frames, the C/D frame, the clean D frame.
            static int const letters[4] = {0, 1, 3, 4};
            row.phase = letters[ph[0] - 'A'];
        } else if (all_digits(ph) && ph.size() <= 2) {
            row.phase = std::atoi(ph.c_str());
        } else {
            fail("phase '" + get(col_phase) + "' is not 0-4 or a frame letter A-D");
            continue;
        }
        transfer_type const t = row.transfer != transfer_unspecified ? row.transfer
                                : rate.nominal == 25                 ? transfer_pogle
                                : rate.nominal == 30                 ? transfer_pull23
                                                                     : transfer_frame_for_frame;
        int const cycle = t == transfer_pogle ? 25 : t == transfer_pull23 ? 5 : 1;
        if (row.phase >= cycle) {
            fail("phase " + ph + " is outside the " +
                 (cycle == 1 ? std::string("frame-for-frame transfer (0)") : "cycle 0-" + std::to_string(cycle - 1)));
            continue;
        }
        if (!cvts[row.type]) cvts[row.type].reset(make_any_label_cvt(row.type));
        if (!read_keykode(cvts[row.type].get(), row.keykode, row.prefix, row.perfs)) {
            fail("keykode '" + row.keykode + "' does not read as " + label_type_info(row.type).class_name);
            continue;
        }
        for (std::size_t i = 0; i < header.size(); ++i) {
            int const k = static_cast<int>(i);
            if (k == col_reel || k == col_tc || k == col_kk || k == col_phase || k == col_type || k == col_transfer ||
                k == col_cam || k == col_lab)
                continue;
            row.extra.emplace_back(header[i], rec[i]);
        }
        log.rows.push_back(std::move(row));
    }
    if (header.empty()) log.problems.push_back(Problem{1, Severity::error, "the log has no header row"});
    return log;
}

}  // namespace edl
