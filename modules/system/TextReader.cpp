#include "modules/system/TextReader.h"

#include <cstring>
#include <limits>

#include "modules/system/Encoder.h"
#include "modules/system/Exception.h"
#include "modules/system/FileStream.h"
#include "modules/system/MessageTable.h"
#include "modules/system/StringFormatStream.h"
#include "modules/system/SystemErrorText.h"

namespace {
constexpr std::int32_t kCannotReadFile = 1015;
}

System::String TextReader::ReadToEnd() {
    if (encoding_ != kSingleByte)
        COREKIT_RAISE(System::Exception());
    System::IO::Stream& stream = *stream_;
    const std::int64_t length = stream.GetLength();
    if (length > std::numeric_limits<std::int32_t>::max()) {
        COREKIT_RAISE(System::OutOfMemoryException(static_cast<std::uint32_t>(length)));
    }
    const auto size = static_cast<std::uint32_t>(length < 0 ? 0 : length);
    System::ByteArray bytes(size, false);
    const std::int32_t read = stream.Read(bytes, size);
    if (read < 0) {
        const System::String reason = System::GetLastErrorText();
        auto* file = dynamic_cast<System::IO::FileStream*>(&stream);
        const System::String message = System::StringFormatStream::Format(
            System::LookupMessage(kCannotReadFile), file ? file->GetPath() : System::String(u""),
            reason);
        COREKIT_RAISE(System::Exception(std::u16string(message.View())));
    }
    const auto* data = reinterpret_cast<const char*>(bytes.Data());
    const std::size_t n = static_cast<std::size_t>(read);
    const void* zero = std::memchr(data, 0, n);
    const std::size_t textLength =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - data) : n;
    return System::String(System::Encoder::NarrowToUtf16(std::string_view(data, textLength)));
}
