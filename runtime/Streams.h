#pragma once
// Byte streams as the units pass them around: a position over readable
// bytes. Kept apart from the C++ iostreams on purpose: those drag the whole
// locale machinery of the static C++ runtime into every module.
#include <cstddef>
#include <cstdint>
#include <string>

namespace rt {

class TStream {
public:
    virtual ~TStream() = default;
    // Copies up to count bytes from the position on and moves past them;
    // returns how many were copied (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    // Clamped to 0..Size().
    virtual void SetPosition(std::int64_t position) = 0;
};

// A stream over a text held in memory.
class TStringStream : public TStream {
public:
    explicit TStringStream(std::string text = {}) : text_(std::move(text)) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(text_.size()); }
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void SetPosition(std::int64_t position) override;
    const std::string& DataString() const { return text_; }

private:
    std::string text_;
    std::size_t position_ = 0;
};

// The rest of the stream from its position, leaving the position at the end.
std::string ReadRest(TStream& stream);

}  // namespace rt
