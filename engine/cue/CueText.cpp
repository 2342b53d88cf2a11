#include "engine/cue/CueText.h"

#include <iconv.h>
#include <uchardet.h>

#include <cerrno>
#include <memory>

#include "engine/media/Utf8.h"

namespace quillo {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// Converts `bytes` from `encoding` to UTF-8; false when the text does not
// read in that encoding.
bool Convert(std::string_view bytes, const char* encoding, std::string& text) {
  iconv_t handle = iconv_open("UTF-8", encoding);
  if (handle == reinterpret_cast<iconv_t>(-1)) return false;
  const std::unique_ptr<void, int (*)(iconv_t)> owner(handle, iconv_close);
  std::string in(bytes);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  text.assign(in.size() * 4 + 16, '\0');
  char* outPtr = text.data();
  size_t outLeft = text.size();
  if (iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  text.resize(text.size() - outLeft);
  return true;
}

// The encoding uchardet finds in `bytes`, Latin-1 when it finds none.
std::string Detect(std::string_view bytes) {
  const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
      uchardet_new(), uchardet_delete);
  std::string charset;
  if (detector && uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) == 0) {
    uchardet_data_end(detector.get());
    charset = uchardet_get_charset(detector.get());
  }
  // Pure ASCII reports "ASCII"; an empty answer means no guess.
  if (charset.empty() || charset == "ASCII") return "WINDOWS-1252";
  return charset;
}

}  // namespace

bool CueTextToUtf8(std::string_view bytes, std::string& text, std::string& error) {
  if (StartsWith(bytes, "\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  else if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    const char* encoding = bytes[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE";
    if (Convert(bytes.substr(2), encoding, text)) return true;
    error = "the sheet's UTF-16 text is damaged";
    return false;
  }
  if (IsValidUtf8(bytes)) {
    text.assign(bytes);
    return true;
  }
  const std::string encoding = Detect(bytes);
  // Latin-1 as a last resort reads any byte. A converter may pass the bytes
  // of a wrongly detected encoding through: only valid UTF-8 counts as read.
  for (const char* from : {encoding.c_str(), "WINDOWS-1252", "ISO-8859-1"})
    if (Convert(bytes, from, text) && IsValidUtf8(text)) return true;
  error = "the sheet's text encoding could not be read";
  return false;
}

}  // namespace quillo
