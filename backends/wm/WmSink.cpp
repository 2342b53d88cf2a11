#include "backends/wm/WmSink.h"

#include "engine/media/Utf8.h"

namespace quillo {

namespace {

// A text as an attribute takes it: one that is not valid UTF-8 is left out
// rather than stored garbled.
std::string AttributeText(const std::string& text) {
  return IsValidUtf8(text) ? text : std::string();
}

}  // namespace

void WmSink::SetTags(const TagInfo& tags) {
  tags_ = TagInfo{AttributeText(tags.title),
                  AttributeText(tags.artist),
                  AttributeText(tags.album),
                  AttributeText(tags.year),
                  AttributeText(tags.genre),
                  AttributeText(tags.comment),
                  {},
                  AttributeText(tags.composer),
                  AttributeText(tags.copyright),
                  {},
                  {}};
  trackNumber_ = TrackNumberFromText(tags.track);
}

int64_t WmSink::AdvanceSampleTime(int64_t time, int frames, int rate) {
  return time + static_cast<int64_t>(frames * 10000000.0 / rate);
}

bool WmSink::Open() {
  writer_.reset();
  error_.clear();
  if (!runtime_.IsLoaded()) return Fail("Windows Media support is not available");
  writer_ = std::make_unique<WmWriter>();
  // One stream in the chosen format, at the bit rate the pick gave.
  WindowsMediaFormat profile = format_;
  profile.bitRate = bitRate_;
  if (!writer_->SetProfile(profile) || !writer_->SetInputProps(sampleRate_, channels_))
    return Fail(writer_->ErrorText());

  // In the order the attributes are written; a text not given is left out.
  const std::pair<const char*, const std::string*> texts[] = {
      {"Title", &tags_.title},           {"Author", &tags_.artist},
      {"WM/AlbumArtist", &tags_.artist}, {"Description", &tags_.comment},
      {"WM/AlbumTitle", &tags_.album},   {"WM/Genre", &tags_.genre}};
  for (const auto& [name, text] : texts)
    if (!text->empty()) writer_->AddAttribute(name, *text);
  if (trackNumber_ > 0) writer_->AddAttribute("WM/TrackNumber", std::to_string(trackNumber_));
  const std::pair<const char*, const std::string*> moreTexts[] = {
      {"WM/Year", &tags_.year}, {"WM/Composer", &tags_.composer}, {"Copyright", &tags_.copyright}};
  for (const auto& [name, text] : moreTexts)
    if (!text->empty()) writer_->AddAttribute(name, *text);

  writer_->SetOutputFilename(path_);
  if (path_.empty() || !writer_->BeginWriting())
    return Fail(path_.empty() ? "No output file name" : writer_->ErrorText());
  sampleTime_ = 0;
  return true;
}

bool WmSink::Write(const int16_t* left, const int16_t* right, int frames) {
  if (!writer_) return false;
  if (left == nullptr || frames <= 0) return true;
  const bool written = writer_->WriteSample(sampleTime_, left, right, frames);
  sampleTime_ = AdvanceSampleTime(sampleTime_, frames, sampleRate_);
  if (!written) error_ = writer_->ErrorText();
  return written;
}

bool WmSink::Close() {
  if (!writer_) return false;
  const bool ended = writer_->EndWriting();
  if (!ended) error_ = writer_->ErrorText();
  writer_.reset();
  Clear();
  return ended;
}

bool WmSink::Fail(const std::string& reason) {
  writer_.reset();
  Clear();
  error_ = reason;
  return false;
}

void WmSink::Clear() {
  tags_ = TagInfo();
  trackNumber_ = 0;
  path_.clear();
  sampleRate_ = 0;
  channels_ = 0;
  format_ = WindowsMediaFormat();
  bitRate_ = 0;
  sampleTime_ = 0;
}

}  // namespace quillo
