#include "backends/bass/MidiFile.h"

#include <algorithm>
#include <cstring>

namespace quillo::audio {

namespace {

// More events than this is no song a converter needs to play.
constexpr size_t kMaxEvents = 20'000'000;
constexpr double kMaxSeconds = 24 * 3600.0;

uint32_t Be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t Le32(const uint8_t* p) {
  return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// An event while the tracks are read: time still in ticks.
struct RawEvent {
  uint64_t tick = 0;
  uint32_t order = 0;  // keeps the order of events at the same tick
  uint8_t status = 0;  // 0: track end marker, 0xFF: tempo (value in sysexStart)
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  uint32_t sysexStart = 0;
  uint32_t sysexLength = 0;
};

class TrackReader {
 public:
  TrackReader(std::span<const uint8_t> data, uint64_t startTick) : data_(data), tick_(startTick) {}

  // Appends the track's events; returns false when the song grows too large.
  bool Read(std::vector<RawEvent>& events, std::vector<uint8_t>& sysex, uint32_t& order) {
    uint8_t running = 0;
    while (pos_ < data_.size()) {
      uint32_t delta = 0;
      if (!Vlq(delta)) break;
      tick_ += delta;
      if (pos_ >= data_.size()) break;
      uint8_t status = data_[pos_];
      if (status >= 0x80) {
        ++pos_;
      } else if (running != 0) {
        status = running;
      } else {
        break;  // data byte without a status: the rest of the track is unreadable
      }
      if (events.size() >= kMaxEvents) return false;
      RawEvent event;
      event.tick = tick_;
      event.order = order++;
      if (status < 0xF0) {
        running = status;
        const bool oneByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
        const size_t need = oneByte ? 1 : 2;
        if (pos_ + need > data_.size()) break;
        event.status = status;
        event.data1 = data_[pos_] & 0x7F;
        event.data2 = oneByte ? 0 : (data_[pos_ + 1] & 0x7F);
        pos_ += need;
        events.push_back(event);
      } else if (status == 0xF0 || status == 0xF7) {
        running = 0;
        uint32_t length = 0;
        if (!Vlq(length) || length > data_.size() - pos_) break;
        const uint8_t* body = data_.data() + pos_;
        pos_ += length;
        uint32_t bodyLength = length;
        if (bodyLength > 0 && body[bodyLength - 1] == 0xF7) --bodyLength;
        if (status == 0xF0 && bodyLength > 0) {
          event.status = 0xF0;
          event.sysexStart = static_cast<uint32_t>(sysex.size());
          event.sysexLength = bodyLength;
          sysex.insert(sysex.end(), body, body + bodyLength);
          events.push_back(event);
        }
      } else if (status == 0xFF) {
        running = 0;
        if (pos_ >= data_.size()) break;
        const uint8_t type = data_[pos_++];
        uint32_t length = 0;
        if (!Vlq(length) || length > data_.size() - pos_) break;
        const uint8_t* body = data_.data() + pos_;
        pos_ += length;
        if (type == 0x51 && length == 3) {
          const uint32_t tempo = (uint32_t{body[0]} << 16) | (uint32_t{body[1]} << 8) | body[2];
          if (tempo > 0) {
            event.status = 0xFF;
            event.sysexStart = tempo;
            events.push_back(event);
          }
        } else if (type == 0x2F) {
          break;
        }
      } else {
        break;  // system common or real-time bytes have no place in a file
      }
    }
    RawEvent end;
    end.tick = tick_;
    end.order = order++;
    events.push_back(end);
    return true;
  }

  uint64_t EndTick() const { return tick_; }

 private:
  bool Vlq(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (pos_ >= data_.size()) return false;
      const uint8_t byte = data_[pos_++];
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  uint64_t tick_ = 0;
};

// The SMF inside a RIFF "RMID" file, or the bytes themselves.
std::span<const uint8_t> Unwrap(std::span<const uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "RMID", 4) != 0)
    return bytes;
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const uint32_t size = Le32(bytes.data() + pos + 4);
    const size_t available = bytes.size() - pos - 8;
    if (std::memcmp(bytes.data() + pos, "data", 4) == 0)
      return bytes.subspan(pos + 8, std::min<size_t>(size, available));
    if (size > available) break;
    pos += 8 + size + (size & 1);
  }
  return {};
}

}  // namespace

std::optional<MidiSong> ParseMidiFile(std::span<const uint8_t> bytes) {
  const std::span<const uint8_t> smf = Unwrap(bytes);
  if (smf.size() < 14 || std::memcmp(smf.data(), "MThd", 4) != 0) return std::nullopt;
  const uint32_t headerLength = Be32(smf.data() + 4);
  if (headerLength < 6 || headerLength > smf.size() - 8) return std::nullopt;
  const uint16_t format = Be16(smf.data() + 8);
  const uint16_t division = Be16(smf.data() + 12);
  if (format > 2 || division == 0) return std::nullopt;

  // Ticks to seconds: SMPTE divisions fix the tick length, metrical ones
  // follow the tempo (500000 microseconds per quarter note until set).
  const bool smpte = (division & 0x8000) != 0;
  double smpteTick = 0.0;
  if (smpte) {
    const int fps = -static_cast<int8_t>(division >> 8);
    const int perFrame = division & 0xFF;
    if (fps <= 0 || perFrame == 0) return std::nullopt;
    smpteTick = 1.0 / ((fps == 29 ? 29.97 : fps) * perFrame);
  }

  std::vector<RawEvent> raw;
  MidiSong song;
  uint32_t order = 0;
  uint64_t formatTwoStart = 0;
  size_t pos = 8 + headerLength;
  while (pos + 8 <= smf.size()) {
    const uint32_t size = Be32(smf.data() + pos + 4);
    const size_t available = smf.size() - pos - 8;
    const size_t length = std::min<size_t>(size, available);
    if (std::memcmp(smf.data() + pos, "MTrk", 4) == 0) {
      // Format 2 tracks are independent songs played one after the other.
      TrackReader track(smf.subspan(pos + 8, length), format == 2 ? formatTwoStart : 0);
      if (!track.Read(raw, song.sysex, order)) return std::nullopt;
      formatTwoStart = track.EndTick();
    }
    if (size > available) break;
    pos += 8 + length;
  }
  if (raw.empty()) return std::nullopt;

  std::stable_sort(raw.begin(), raw.end(), [](const RawEvent& a, const RawEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  double secondsPerTick = smpte ? smpteTick : 0.5 / division;
  double seconds = 0.0;
  uint64_t lastTick = 0;
  for (const RawEvent& event : raw) {
    seconds += static_cast<double>(event.tick - lastTick) * secondsPerTick;
    lastTick = event.tick;
    if (seconds > kMaxSeconds) return std::nullopt;
    if (event.status == 0xFF) {
      if (!smpte) secondsPerTick = event.sysexStart / 1e6 / division;
    } else if (event.status != 0) {
      song.events.push_back(
          {seconds, event.status, event.data1, event.data2, event.sysexStart, event.sysexLength});
    }
  }
  song.lengthSeconds = seconds;
  return song;
}

}  // namespace quillo::audio
