// The host stand-in: rate arithmetic, project settings, configuration,
// strings, tokeniser, messages and the process allocator.
#include "host/host.h"

#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace Kest {

// Both from one snapshot.
OutputGearing::OutputGearing(ConstructionOptions) : OutputGearing(host::project_settings()) {}
OutputGearing::OutputGearing(host::ProjectSettings const& p)
    : rate_(p.output_image_rate), pulldown_(p.output_pulled_down) {}

OutputGearing::OutputGearing(FrameRate rate, bool use_pulldown) : rate_(rate), pulldown_(use_pulldown) {}

namespace CurrentProject {
FrameRate getFrameRate(Revision) { return host::project_settings().frame_rate; }
bool getUseDropFrameTimecode() { return host::project_settings().use_drop_frame_timecode; }
FrameRate getOutputImageKESTFrameRate() { return host::project_settings().output_image_rate; }
OutputFormat::Details getOutputImageFormat(Revision) {
    host::ProjectSettings const& p = host::project_settings();
    return OutputFormat::Details(p.output_scan_mode, p.output_image_rate);
}
bool outputFormatIsPulledDown() { return host::project_settings().output_pulled_down; }
bool vidprojAudSyncIsPulledDown() { return host::project_settings().audio_sync_pulled_down; }
FrameRate getInCameraFilmSpeed() { return host::project_settings().in_camera_film_speed; }
double getCelResolution() { return Kest::getCelResolution(getFrameRate(0)); }
}  // namespace CurrentProject

}  // namespace Kest

OutputFormat::Details::Details(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    scan_mode = scan;
    frame_rate = rate;
}

// ---------------------------------------------------------------------------
// Project settings and configuration keys. Each is an immutable snapshot
// behind an atomic pointer: readers load the pointer (acquire) and read a
// value no one writes again; setters copy the current snapshot, change the
// copy and publish it (release) under a mutex. A replaced snapshot is kept
// for the life of the process, since a reader may still hold it; a setting
// equal to one published before republishes that snapshot, so the snapshots
// number as many as the distinct settings made, however often a program
// switches between them.
namespace {

// A snapshot, and the one made before it (every snapshot ever made stays on
// this list, reachable, for reuse).
template <class T>
struct Retired {
    T value;
    Retired* next;
};

// Setters only, under the mutex: the snapshot holding this value, made now
// or found among those made before.
template <class T, class Same>
Retired<T>* snapshot_of(T const& value, Retired<T>*& made, Same same) {
    for (Retired<T>* r = made; r; r = r->next)
        if (same(r->value, value)) return r;
    made = new Retired<T>{value, made};
    return made;
}

// Configuration keys live in a fixed table so reading one never allocates.
struct ConfigKey {
    char key[64];
    int value;
    bool used;
};
constexpr int kMaxConfigKeys = 64;
struct ConfigTable {
    ConfigKey keys[kMaxConfigKeys];
};

// Constant-initialised: usable from any static initialiser.
struct Published {
    std::mutex setters;
    std::atomic<Retired<host::ProjectSettings>*> settings{nullptr};
    std::atomic<Retired<ConfigTable>*> config{nullptr};
    Retired<host::ProjectSettings>* settings_made = nullptr;
    Retired<ConfigTable>* config_made = nullptr;
};

bool same_settings(host::ProjectSettings const& a, host::ProjectSettings const& b) {
    return a.frame_rate == b.frame_rate && a.use_drop_frame_timecode == b.use_drop_frame_timecode &&
           a.output_image_rate == b.output_image_rate && a.output_scan_mode == b.output_scan_mode &&
           a.output_pulled_down == b.output_pulled_down && a.audio_sync_pulled_down == b.audio_sync_pulled_down &&
           a.in_camera_film_speed == b.in_camera_film_speed;
}

bool same_config(ConfigTable const& a, ConfigTable const& b) {
    for (int i = 0; i < kMaxConfigKeys; ++i) {
        ConfigKey const& x = a.keys[i];
        ConfigKey const& y = b.keys[i];
        if (x.used != y.used) return false;
        if (x.used && (x.value != y.value || std::strcmp(x.key, y.key) != 0)) return false;
    }
    return true;
}
Published g_published;

constexpr ConfigTable g_empty_config{};

host::ProjectSettings const& default_settings() {
    static host::ProjectSettings const d = host::default_project_settings();
    return d;
}

host::ProjectSettings const& settings() {
    Retired<host::ProjectSettings> const* p = g_published.settings.load(std::memory_order_acquire);
    return p ? p->value : default_settings();
}

ConfigTable const& config_table() {
    Retired<ConfigTable> const* p = g_published.config.load(std::memory_order_acquire);
    return p ? p->value : g_empty_config;
}

ConfigKey const* find_key(ConfigTable const& t, char const* key) {
    if (!key) return nullptr;
    for (ConfigKey const& k : t.keys)
        if (k.used && std::strcmp(k.key, key) == 0) return &k;
    return nullptr;
}

// Copies the current table, lets change() alter the copy, publishes it.
template <class Change>
void change_config(Change change) {
    std::lock_guard<std::mutex> const lock(g_published.setters);
    Retired<ConfigTable> const* const prev = g_published.config.load(std::memory_order_relaxed);
    ConfigTable next = prev ? prev->value : g_empty_config;
    change(next);
    g_published.config.store(snapshot_of(next, g_published.config_made, same_config), std::memory_order_release);
}

}  // namespace

namespace host {

ProjectSettings default_project_settings() {
    return ProjectSettings{
        Kest::FrameRate_24, true, Kest::FrameRate_29_97, Kest::Image::ScanMode_interlaced_upper, true, true,
        Kest::FrameRate_24};
}

void set_project_settings(ProjectSettings const& p) {
    std::lock_guard<std::mutex> const lock(g_published.setters);
    g_published.settings.store(snapshot_of(p, g_published.settings_made, same_settings), std::memory_order_release);
}
ProjectSettings const& project_settings() { return settings(); }

void set_config_int(char const* key, int value) {
    if (!key) return;
    change_config([key, value](ConfigTable& t) {
        for (ConfigKey& k : t.keys) {
            if (k.used && std::strcmp(k.key, key) == 0) {
                k.value = value;
                return;
            }
        }
        for (ConfigKey& k : t.keys) {
            if (!k.used) {
                std::snprintf(k.key, sizeof k.key, "%s", key);
                k.value = value;
                k.used = true;
                return;
            }
        }
    });
}

void unset_config_int(char const* key) {
    if (!key) return;
    change_config([key](ConfigTable& t) {
        for (ConfigKey& k : t.keys)
            if (k.used && std::strcmp(k.key, key) == 0) k.used = false;
    });
}

void reset_config() {
    change_config([](ConfigTable& t) {
        for (ConfigKey& k : t.keys) k.used = false;
    });
}

}  // namespace host

int config_int(char const* key, int default_value) {
    ConfigKey const* k = find_key(config_table(), key);
    return k ? k->value : default_value;
}

// ---------------------------------------------------------------------------
// Configuration blocks.
struct configb::Entry {
    char key[128];
    char value[max_value_length + 1];
};

configb::~configb() { delete[] entries_; }

void configb::set(char const* key, char const* value) {
    if (!key || !value) return;
    for (std::size_t i = 0; i < count_; ++i) {
        if (std::strncmp(entries_[i].key, key, sizeof entries_[i].key - 1) == 0) {
            std::snprintf(entries_[i].value, sizeof entries_[i].value, "%s", value);
            return;
        }
    }
    if (count_ == capacity_) {
        std::size_t const cap = capacity_ ? capacity_ * 2 : 8;
        Entry* e = new Entry[cap];
        for (std::size_t i = 0; i < count_; ++i) e[i] = entries_[i];
        delete[] entries_;
        entries_ = e;
        capacity_ = cap;
    }
    std::snprintf(entries_[count_].key, sizeof entries_[count_].key, "%s", key);
    std::snprintf(entries_[count_].value, sizeof entries_[count_].value, "%s", value);
    ++count_;
}

int configb::in(LightweightString<char> const& key, char* out) const {
    for (std::size_t i = 0; i < count_; ++i) {
        if (std::strncmp(entries_[i].key, key.c_str(), sizeof entries_[i].key - 1) == 0) {
            if (out) std::memcpy(out, entries_[i].value, std::strlen(entries_[i].value) + 1);
            return 0;
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Strings.
LightweightString<char>::Rep* LightweightString<char>::make(char const* text, std::size_t n) {
    Rep* r = static_cast<Rep*>(::operator new(sizeof(Rep) + n));
    new (&r->refs) std::atomic<long>(1);
    r->size = n;
    if (n) std::memcpy(r->chars, text, n);
    r->chars[n] = '\0';
    return r;
}

LightweightString<char>::LightweightString(char const* text) : rep_(text ? make(text, std::strlen(text)) : nullptr) {}

LightweightString<char>::LightweightString(char const* text, std::size_t n) : rep_(text ? make(text, n) : nullptr) {}

namespace {
// A new sharer needs no ordering; an immutable buffer is not counted.
template <class Rep>
inline void add_ref(Rep* r, long immutable) noexcept {
    if (r && r->refs.load(std::memory_order_relaxed) != immutable) r->refs.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

LightweightString<char>::LightweightString(LightweightString const& o) noexcept : rep_(o.rep_) {
    add_ref(rep_, kImmutable);
}

LightweightString<char>::LightweightString(LightweightString&& o) noexcept : rep_(o.rep_) { o.rep_ = nullptr; }

LightweightString<char>& LightweightString<char>::operator=(LightweightString const& o) noexcept {
    // Already sharing: nothing to count (label points re-take their
    // converter's template on every construction).
    if (rep_ == o.rep_) return *this;
    add_ref(o.rep_, kImmutable);
    release();
    rep_ = o.rep_;
    return *this;
}

LightweightString<char>& LightweightString<char>::operator=(LightweightString&& o) noexcept {
    if (this != &o) {
        release();
        rep_ = o.rep_;
        o.rep_ = nullptr;
    }
    return *this;
}

LightweightString<char>::~LightweightString() { release(); }

void LightweightString<char>::release() noexcept {
    // The last owner's release sees every other owner's writes (acq_rel).
    if (rep_ && rep_->refs.load(std::memory_order_relaxed) != kImmutable &&
        rep_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        rep_->refs.~atomic();
        ::operator delete(rep_);
    }
    rep_ = nullptr;
}

void LightweightString<char>::make_immutable() noexcept {
    if (rep_) rep_->refs.store(kImmutable, std::memory_order_relaxed);
}

char* LightweightString<char>::unshare() {
    if (!rep_) rep_ = make("", 0);
    // Sole owner (count 1): nobody else can be copying it now.
    if (rep_->refs.load(std::memory_order_acquire) != 1) {
        Rep* r = make(rep_->chars, rep_->size);
        release();
        rep_ = r;
    }
    return rep_->chars;
}

bool operator==(LightweightString<char> const& a, LightweightString<char> const& b) noexcept {
    return a.size() == b.size() && std::memcmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// ---------------------------------------------------------------------------
// Tokeniser.
tokeniser::tokeniser(char const* text, char const* separators) {
    if (!text) return;
    std::size_t const n = std::strlen(text);
    if (n >= static_cast<std::size_t>(inline_chars)) text_ = new char[n + 1];
    std::memcpy(text_, text, n + 1);
    // The separators as a set of byte values, so each character costs one
    // lookup instead of a scan of the separator text.
    bool is_sep[256] = {};
    for (char const* s = separators ? separators : ""; *s; ++s) is_sep[static_cast<unsigned char>(*s)] = true;
    auto const sep = [&is_sep](char c) { return is_sep[static_cast<unsigned char>(c)]; };
    int capacity = inline_tokens;
    char* p = text_;
    for (;;) {
        while (*p && sep(*p)) *p++ = '\0';
        if (!*p) break;
        if (count_ == capacity) {
            int const cap = capacity * 4;
            char const** t = new char const*[cap];
            std::memcpy(t, tokens_, sizeof(char const*) * count_);
            if (tokens_ != inline_tokens_) delete[] tokens_;
            tokens_ = t;
            capacity = cap;
        }
        tokens_[count_++] = p;
        while (*p && !sep(*p)) ++p;
    }
}

tokeniser::~tokeniser() {
    if (text_ != inline_text_) delete[] text_;
    if (tokens_ != inline_tokens_) delete[] tokens_;
}

// ---------------------------------------------------------------------------
// Messages and identity.
namespace {
host::MessageSink message_sink = nullptr;
void* message_sink_context = nullptr;
}  // namespace

void host::set_message_sink(MessageSink sink, void* context) {
    message_sink = sink;
    message_sink_context = context;
}

int herc_printf(char const* format, ...) {
    std::va_list ap;
    va_start(ap, format);
    int n;
    if (message_sink) {
        char text[512];
        n = std::vsnprintf(text, sizeof text, format, ap);
        message_sink(text, message_sink_context);
    } else {
        n = std::vfprintf(stderr, format, ap);
    }
    va_end(ap);
    return n;
}

const Cookie invalid_cookie{};

char const* labelsBaseDllVersionStr() { return "1.0.0.0"; }

// ---------------------------------------------------------------------------
// The allocator. Every block carries a 16-byte header with its size so the
// live byte count can follow frees; 16 bytes keep the block aligned as
// malloc's was.
namespace {
std::atomic<unsigned long long> g_allocations{0}, g_frees{0}, g_live{0};
constexpr std::size_t kHeader = 16;
}  // namespace

void* HostAllocator::allocate(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - kHeader) throw std::bad_alloc();
    void* raw = std::malloc(size + kHeader);
    if (!raw) throw std::bad_alloc();
    *static_cast<std::size_t*>(raw) = size;
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    g_live.fetch_add(size, std::memory_order_relaxed);
    return static_cast<char*>(raw) + kHeader;
}

void HostAllocator::free(void* p) noexcept {
    if (!p) return;
    void* raw = static_cast<char*>(p) - kHeader;
    g_frees.fetch_add(1, std::memory_order_relaxed);
    g_live.fetch_sub(*static_cast<std::size_t*>(raw), std::memory_order_relaxed);
    std::free(raw);
}

OperatingSystem* OS() {
    // Constant-initialised: usable from any static initialiser.
    static OperatingSystem os;
    return &os;
}

namespace host {
AllocationStats allocation_stats() { return AllocationStats{g_allocations.load(), g_frees.load(), g_live.load()}; }
}  // namespace host
