#include "runtime/Streams.h"

#include <algorithm>
#include <cstring>

namespace rt {

std::size_t TStringStream::Read(void* buffer, std::size_t count) {
    const std::size_t n = std::min(count, text_.size() - position_);
    if (n > 0) std::memcpy(buffer, text_.data() + position_, n);
    position_ += n;
    return n;
}

void TStringStream::SetPosition(std::int64_t position) {
    position_ = static_cast<std::size_t>(std::clamp<std::int64_t>(position, 0, Size()));
}

std::string ReadRest(TStream& stream) {
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = stream.Read(chunk, sizeof chunk)) > 0;) text.append(chunk, n);
    return text;
}

}  // namespace rt
