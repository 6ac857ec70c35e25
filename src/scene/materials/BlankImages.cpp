#include "scene/materials/BlankImages.h"

#include "platform/core/text/StringUtils.h"
#include "scene/materials/DataFile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

TGLBlankImage::TGLBlankImage(TPersistent* owner) : TGLTextureImage(owner) {}

void TGLBlankImage::SetWidth(int value)
{
    value = std::max(value, 1);
    if (value != FWidth) {
        FWidth = value;
        Invalidate();
    }
}

void TGLBlankImage::SetHeight(int value)
{
    value = std::max(value, 1);
    if (value != FHeight) {
        FHeight = value;
        Invalidate();
    }
}

std::string TGLBlankImage::FriendlyDescription() const
{
    return FriendlyName() + " (" + std::to_string(FWidth) + " x " + std::to_string(FHeight) + ")";
}

TGLBitmap32* TGLBlankImage::GetBitmap32(GLenum /*target*/)
{
    TGLBitmap32& bitmap = NewBitmap();
    // A new bitmap grows from nothing, and growing zero-fills.
    bitmap.SetWidth(FWidth);
    bitmap.SetHeight(FHeight);
    return &bitmap;
}

void TGLBlankImage::SaveToFile(const std::string& fileName)
{
    const std::string text = std::string(SectionName()) + "\nWidth=" + std::to_string(FWidth) +
                             "\nHeight=" + std::to_string(FHeight) + "\n";
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmCreate);
    stream->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

namespace {

// The value of "name=value" in the text, compared without case; false when absent
// or not a whole number.
bool ReadIntegerValue(std::string_view text, std::string_view name, int& value)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string line = Trim(text.substr(start, end - start));
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(Trim(std::string_view(line).substr(0, eq)), name)) {
            const std::string number = Trim(std::string_view(line).substr(eq + 1));
            int parsed = 0;
            const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
            if (result.ec == std::errc() && result.ptr == number.data() + number.size()) {
                value = parsed;
                return true;
            }
            return false;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

void TGLBlankImage::LoadFromFile(const std::string& fileName)
{
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmOpenRead | fmShareDenyNone);
    // Only the first lines matter; a huge file is not read whole.
    std::string text(static_cast<std::size_t>(std::min<std::int64_t>(stream->Size(), 4096)), '\0');
    stream->ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    int value = 0;
    if (ReadIntegerValue(text, "Width", value)) {
        SetWidth(value);
    }
    if (ReadIntegerValue(text, "Height", value)) {
        SetHeight(value);
    }
}

void TGLBlankImage::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLBlankImage>(source)) {
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        Invalidate();
    } else {
        TGLTextureImage::Assign(source);
    }
}
