#include "services/PrintfFormatter.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

class Sink {
public:
    Sink(char16_t* out, std::size_t capacity) : out_(out), room_(capacity ? capacity - 1 : 0) {}

    bool Full() const { return cut_; }
    void Put(char16_t c) {
        if (count_ < room_) {
            out_[count_++] = c;
        } else {
            cut_ = true;
        }
    }
    void Put(std::u16string_view text) {
        for (char16_t c : text) {
            if (count_ >= room_) {
                cut_ = true;
                return;
            }
            out_[count_++] = c;
        }
    }
    void PutNarrow(std::string_view text) {
        for (char c : text)
            Put(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    void Pad(char16_t c, std::size_t n) {
        for (; n > 0 && !cut_; --n)
            Put(c);
    }
    void Terminate() {
        if (out_)
            out_[count_] = 0;
    }
    PrintfFormatter::Result Result() const { return {count_, cut_}; }

private:
    char16_t* out_;
    std::size_t room_;
    std::size_t count_ = 0;
    bool cut_ = false;
};

struct Spec {
    bool left = false;
    bool plus = false;
    bool blank = false;
    bool alternate = false;
    bool zero = false;
    std::size_t width = 0;
    int precision = -1;  // -1: none
    char16_t conversion = 0;
};

// Reads a non-negative decimal number, saturating instead of overflowing.
std::size_t ReadCount(const char16_t*& p) {
    std::size_t n = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (n < 100000000)
            n = n * 10 + static_cast<std::size_t>(*p - u'0');
        ++p;
    }
    return n;
}

class Arguments {
public:
    explicit Arguments(std::span<const FormatArgument> list) : list_(list) {}
    const FormatArgument* Next() { return next_ < list_.size() ? &list_[next_++] : nullptr; }

    // A * width or precision: an integer argument, or none.
    bool NextCount(long long& value) {
        const FormatArgument* a = Next();
        if (!a)
            return false;
        switch (a->kind) {
            case FormatArgument::Kind::Signed:
                value = a->number.s;
                return true;
            case FormatArgument::Kind::Unsigned:
                value = static_cast<long long>(std::min<std::uint64_t>(a->number.u, 100000000));
                return true;
            default:
                return false;
        }
    }

private:
    std::span<const FormatArgument> list_;
    std::size_t next_ = 0;
};

void PutText(Sink& sink, const Spec& spec, std::u16string_view text) {
    if (spec.precision >= 0 && text.size() > static_cast<std::size_t>(spec.precision)) {
        text = text.substr(0, static_cast<std::size_t>(spec.precision));
    }
    const std::size_t pad = spec.width > text.size() ? spec.width - text.size() : 0;
    if (!spec.left)
        sink.Pad(u' ', pad);
    sink.Put(text);
    if (spec.left)
        sink.Pad(u' ', pad);
}

void PutNarrowText(Sink& sink, const Spec& spec, std::string_view text) {
    if (spec.precision >= 0 && text.size() > static_cast<std::size_t>(spec.precision)) {
        text = text.substr(0, static_cast<std::size_t>(spec.precision));
    }
    const std::size_t pad = spec.width > text.size() ? spec.width - text.size() : 0;
    if (!spec.left)
        sink.Pad(u' ', pad);
    sink.PutNarrow(text);
    if (spec.left)
        sink.Pad(u' ', pad);
}

// Sign or prefix, precision zeros, zero padding, digits, and the field
// width around them.
void PutNumber(Sink& sink, const Spec& spec, std::string_view prefix, std::size_t zeros,
               std::string_view digits, bool zeroPadAllowed) {
    const std::size_t body = prefix.size() + zeros + digits.size();
    const std::size_t pad = spec.width > body ? spec.width - body : 0;
    const bool zeroPad = spec.zero && !spec.left && zeroPadAllowed;
    if (!spec.left && !zeroPad)
        sink.Pad(u' ', pad);
    sink.PutNarrow(prefix);
    sink.Pad(u'0', zeros + (zeroPad ? pad : 0));
    sink.PutNarrow(digits);
    if (spec.left)
        sink.Pad(u' ', pad);
}

void PutInteger(Sink& sink, const Spec& spec, const FormatArgument& a) {
    char16_t conv = spec.conversion;
    if (conv == u'i')
        conv = u'd';
    // The argument's value as an unsigned magnitude of its own width.
    bool negative = false;
    std::uint64_t magnitude;
    if (a.kind == FormatArgument::Kind::Floating) {
        const double d = a.number.d;
        long long v = 0;
        if (std::isfinite(d)) {
            v = d >= 9.2e18    ? std::numeric_limits<long long>::max()
                : d <= -9.2e18 ? std::numeric_limits<long long>::min()
                               : static_cast<long long>(d);
        }
        FormatArgument as = a;
        as.kind = FormatArgument::Kind::Signed;
        as.bits = 64;
        as.number.s = v;
        PutInteger(sink, spec, as);
        return;
    }
    const std::uint64_t mask = a.bits >= 64 ? ~0ull : ((1ull << a.bits) - 1);
    if (a.kind == FormatArgument::Kind::Signed && conv == u'd') {
        negative = a.number.s < 0;
        magnitude = negative ? 0ull - static_cast<std::uint64_t>(a.number.s)
                             : static_cast<std::uint64_t>(a.number.s);
    } else {
        magnitude = a.number.u & mask;
        if (a.kind == FormatArgument::Kind::Unsigned && conv == u'd')
            conv = u'u';
    }

    int base = 10;
    if (conv == u'x' || conv == u'X' || conv == u'p')
        base = 16;
    if (conv == u'o')
        base = 8;

    char digits[80];
    std::size_t n = 0;
    if (!(magnitude == 0 && spec.precision == 0)) {
        const auto r = std::to_chars(digits + 8, digits + sizeof digits, magnitude, base);
        n = static_cast<std::size_t>(r.ptr - (digits + 8));
    }
    char* first = digits + 8;
    if (conv == u'X') {
        for (std::size_t i = 0; i < n; ++i) {
            if (first[i] >= 'a' && first[i] <= 'f')
                first[i] = static_cast<char>(first[i] - 32);
        }
    }
    std::size_t zeros = 0;
    if (spec.precision > static_cast<int>(n))
        zeros = static_cast<std::size_t>(spec.precision) - n;
    if (conv == u'o' && spec.alternate && zeros == 0 && (n == 0 || first[0] != '0'))
        zeros = 1;
    std::string_view prefix;
    if (negative) {
        prefix = "-";
    } else if (conv == u'd' && spec.plus) {
        prefix = "+";
    } else if (conv == u'd' && spec.blank) {
        prefix = " ";
    }
    if ((conv == u'x' || conv == u'X') && spec.alternate && magnitude != 0) {
        prefix = conv == u'x' ? "0x" : "0X";
    }
    if (conv == u'p')
        prefix = "0x";
    PutNumber(sink, spec, prefix, zeros, std::string_view(first, n), spec.precision < 0);
}

void PutFloating(Sink& sink, const Spec& spec, double value) {
    const char16_t conv = spec.conversion;
    const bool upper = conv == u'F' || conv == u'E' || conv == u'G';
    const int precision = spec.precision < 0 ? 6 : std::min(spec.precision, 300);
    std::string prefix;
    if (std::signbit(value) && !std::isnan(value)) {
        prefix = "-";
        value = -value;
    } else if (spec.plus) {
        prefix = "+";
    } else if (spec.blank) {
        prefix = " ";
    }
    if (!std::isfinite(value)) {
        std::string text = std::isnan(value) ? "nan" : "inf";
        if (upper)
            text = std::isnan(value) ? "NAN" : "INF";
        PutNumber(sink, spec, prefix, 0, text, false);
        return;
    }
    std::chars_format format = std::chars_format::fixed;
    int p = precision;
    if (conv == u'e' || conv == u'E')
        format = std::chars_format::scientific;
    if (conv == u'g' || conv == u'G') {
        format = std::chars_format::general;
        if (p == 0)
            p = 1;
    }
    char digits[400];
    const auto r = std::to_chars(digits, digits + sizeof digits, value, format, p);
    std::string text(digits, r.ec == std::errc() ? r.ptr : digits);
    if (spec.alternate && text.find('.') == std::string::npos &&
        format == std::chars_format::fixed) {
        text += '.';
    }
    if (upper) {
        for (char& c : text) {
            if (c == 'e')
                c = 'E';
        }
    }
    PutNumber(sink, spec, prefix, 0, text, true);
}

void PutArgument(Sink& sink, const Spec& spec, const FormatArgument& a) {
    using Kind = FormatArgument::Kind;
    const char16_t conv = spec.conversion;
    if (a.kind == Kind::Text) {
        const std::u16string_view text(static_cast<const char16_t*>(a.text), a.length);
        if (conv == u'c' && !text.empty()) {
            PutText(sink, Spec{spec.left, false, false, false, false, spec.width, -1, conv},
                    text.substr(0, 1));
        } else {
            PutText(sink, spec, text);
        }
        return;
    }
    if (a.kind == Kind::Narrow) {
        PutNarrowText(sink, spec, std::string_view(static_cast<const char*>(a.text), a.length));
        return;
    }
    switch (conv) {
        case u's':
        case u'S': {
            Spec number = spec;
            number.precision = -1;
            number.conversion = a.kind == Kind::Floating ? u'g' : u'd';
            if (a.kind == Kind::Floating) {
                PutFloating(sink, number, a.number.d);
            } else {
                PutInteger(sink, number, a);
            }
            return;
        }
        case u'c': {
            const char16_t unit =
                static_cast<char16_t>(a.kind == Kind::Floating ? 0 : (a.number.u & 0xFFFF));
            const std::u16string_view text(&unit, 1);
            PutText(sink, Spec{spec.left, false, false, false, false, spec.width, -1, conv}, text);
            return;
        }
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G': {
            double value = a.number.d;
            if (a.kind == Kind::Signed)
                value = static_cast<double>(a.number.s);
            if (a.kind == Kind::Unsigned)
                value = static_cast<double>(a.number.u);
            PutFloating(sink, spec, value);
            return;
        }
        default:
            PutInteger(sink, spec, a);
            return;
    }
}

bool IsConversion(char16_t c) {
    switch (c) {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o':
        case u'c':
        case u's':
        case u'S':
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'p':
            return true;
        default:
            return false;
    }
}

}  // namespace

PrintfFormatter::Result PrintfFormatter::Format(char16_t* out, std::size_t capacity,
                                                const char16_t* format,
                                                std::span<const FormatArgument> arguments) {
    if (capacity == 0 || out == nullptr)
        return {};
    Sink sink(out, capacity);
    Arguments args(arguments);
    const char16_t* p = format ? format : u"";
    while (*p && !sink.Full()) {
        if (*p != u'%') {
            sink.Put(*p++);
            continue;
        }
        const char16_t* start = p++;
        if (*p == u'%') {
            sink.Put(u'%');
            ++p;
            continue;
        }
        Spec spec;
        for (;; ++p) {
            if (*p == u'-')
                spec.left = true;
            else if (*p == u'+')
                spec.plus = true;
            else if (*p == u' ')
                spec.blank = true;
            else if (*p == u'#')
                spec.alternate = true;
            else if (*p == u'0')
                spec.zero = true;
            else
                break;
        }
        if (*p == u'*') {
            ++p;
            long long w = 0;
            if (args.NextCount(w)) {
                if (w < 0) {
                    spec.left = true;
                    w = w == std::numeric_limits<long long>::min() ? 0 : -w;
                }
                spec.width = static_cast<std::size_t>(std::min<long long>(w, 100000000));
            }
        } else {
            spec.width = ReadCount(p);
        }
        if (*p == u'.') {
            ++p;
            if (*p == u'*') {
                ++p;
                long long prec = -1;
                if (args.NextCount(prec)) {
                    spec.precision =
                        prec < 0 ? -1 : static_cast<int>(std::min<long long>(prec, 100000000));
                }
            } else {
                spec.precision = static_cast<int>(ReadCount(p));
            }
        }
        // Length modifiers: the argument knows its own size.
        while (*p == u'h' || *p == u'l' || *p == u'L' || *p == u'q' || *p == u'j' || *p == u'z' ||
               *p == u't' || *p == u'w') {
            ++p;
        }
        if (*p == u'I') {
            if (p[1] == u'6' && p[2] == u'4')
                p += 3;
            else if (p[1] == u'3' && p[2] == u'2')
                p += 3;
            else
                ++p;
        }
        if (!IsConversion(*p)) {
            // Not a conversion: the text stands as written.
            sink.Put(std::u16string_view(start, static_cast<std::size_t>(p - start)));
            continue;
        }
        spec.conversion = *p++;
        if (const FormatArgument* a = args.Next())
            PutArgument(sink, spec, *a);
    }
    sink.Terminate();
    return sink.Result();
}
