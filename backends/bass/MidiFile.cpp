#include "backends/bass/MidiFile.h"

#include <algorithm>
#include <string_view>

#include "engine/media/ByteReader.h"

namespace quillo::audio {

namespace {

// More events than this is no song a converter needs to play.
constexpr size_t kMaxEvents = 20'000'000;
constexpr double kMaxSeconds = 24 * 3600.0;

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
  // A track cut short ends at the last event it holds whole.
  bool Read(std::vector<RawEvent>& events, std::vector<uint8_t>& sysex, uint32_t& order) {
    uint8_t running = 0;
    while (data_.remaining() > 0) {
      const std::optional<uint32_t> delta = Vlq();
      if (!delta) break;
      tick_ += *delta;
      uint8_t status = data_.U8().value_or(0);
      if (status < 0x80) {
        // A data byte belongs to the running status; without one the rest of
        // the track is unreadable.
        if (running == 0 || !data_.ok()) break;
        status = running;
        data_.Seek(data_.position() - 1);
      }
      if (events.size() >= kMaxEvents) return false;
      RawEvent event;
      event.tick = tick_;
      event.order = order++;
      if (status < 0xF0) {
        running = status;
        const bool oneByte = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0;
        const std::optional<std::span<const uint8_t>> data = data_.Bytes(oneByte ? 1 : 2);
        if (!data) break;
        event.status = status;
        event.data1 = (*data)[0] & 0x7F;
        event.data2 = oneByte ? 0 : ((*data)[1] & 0x7F);
        events.push_back(event);
      } else if (status == 0xF0 || status == 0xF7) {
        running = 0;
        const std::optional<std::span<const uint8_t>> body = Body();
        if (!body) break;
        const std::span<const uint8_t> message =
            !body->empty() && body->back() == 0xF7 ? body->first(body->size() - 1) : *body;
        if (status == 0xF0 && !message.empty()) {
          event.status = 0xF0;
          event.sysexStart = static_cast<uint32_t>(sysex.size());
          event.sysexLength = static_cast<uint32_t>(message.size());
          sysex.insert(sysex.end(), message.begin(), message.end());
          events.push_back(event);
        }
      } else if (status == 0xFF) {
        running = 0;
        const std::optional<uint8_t> type = data_.U8();
        const std::optional<std::span<const uint8_t>> body = Body();
        if (!body) break;
        if (type == 0x51 && body->size() == 3) {
          const uint32_t tempo = ByteReader(*body).U24(ByteOrder::Big).value_or(0);
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
  // A variable-length quantity of up to four bytes, seven bits in each.
  std::optional<uint32_t> Vlq() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::optional<uint8_t> byte = data_.U8();
      if (!byte) return std::nullopt;
      value = (value << 7) | (*byte & 0x7F);
      if ((*byte & 0x80) == 0) return value;
    }
    return std::nullopt;
  }

  // The body of a system-exclusive or meta event, after its length.
  std::optional<std::span<const uint8_t>> Body() {
    const std::optional<uint32_t> length = Vlq();
    return length ? data_.Bytes(*length) : std::nullopt;
  }

  ByteReader data_;
  uint64_t tick_ = 0;
};

// The SMF inside a RIFF "RMID" file, or the bytes themselves.
std::span<const uint8_t> Unwrap(std::span<const uint8_t> bytes) {
  ByteReader riff(bytes);
  if (riff.Tag() != "RIFF" || !riff.Skip(4) || riff.Tag() != "RMID") return bytes;
  for (;;) {
    const std::optional<std::string_view> id = riff.Tag();
    const std::optional<uint32_t> size = riff.U32(ByteOrder::Little);
    if (!size) break;
    if (id == "data") return *riff.Bytes(std::min<uint64_t>(*size, riff.remaining()));
    if (!riff.Skip(*size) || !riff.Skip(*size & 1)) break;
  }
  return {};
}

}  // namespace

std::optional<MidiSong> ParseMidiFile(std::span<const uint8_t> bytes) {
  const std::span<const uint8_t> smf = Unwrap(bytes);
  ByteReader reader(smf);
  const std::optional<std::string_view> magic = reader.Tag();
  const std::optional<uint32_t> headerLength = reader.U32(ByteOrder::Big);
  const uint16_t format = reader.U16(ByteOrder::Big).value_or(0);
  reader.Skip(2);  // the track count: the chunks are counted as they come
  const uint16_t division = reader.U16(ByteOrder::Big).value_or(0);
  if (magic != "MThd" || !headerLength || *headerLength < 6 || !reader.Skip(*headerLength - 6))
    return std::nullopt;
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
  for (;;) {
    const std::optional<std::string_view> id = reader.Tag();
    const std::optional<uint32_t> size = reader.U32(ByteOrder::Big);
    if (!size) break;
    // A chunk longer than the file holds what the file has left.
    const std::span<const uint8_t> chunk =
        *reader.Bytes(std::min<uint64_t>(*size, reader.remaining()));
    if (id == "MTrk") {
      // Format 2 tracks are independent songs played one after the other.
      TrackReader track(chunk, format == 2 ? formatTwoStart : 0);
      if (!track.Read(raw, song.sysex, order)) return std::nullopt;
      formatTwoStart = track.EndTick();
    }
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
