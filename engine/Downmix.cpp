#include "engine/Downmix.h"

namespace quillo {

namespace {

constexpr float kCentre = 0.707f;

// The float product truncates toward zero on conversion, as intended.
int Scaled(int value) { return static_cast<int>(kCentre * static_cast<float>(value)); }

int16_t Clamp16(int value) {
  if (value > 32767) return 32767;
  if (value < -32768) return -32768;
  return static_cast<int16_t>(value);
}

}  // namespace

void DownmixToStereo(int channels, const int16_t* f, int16_t& left, int16_t& right) {
  int l = 0;
  int r = 0;
  switch (channels) {
    case 3:
      l = f[0] + Scaled(f[2]);
      r = f[1] + Scaled(f[2]);
      break;
    case 4:
      l = f[0] + f[2];
      r = f[1] + f[3];
      break;
    case 5:
      l = f[0] + Scaled(f[2]) + f[3];
      r = f[1] + Scaled(f[2]) + f[4];
      break;
    case 6: {
      const int m = Scaled(f[2] + f[3]);
      l = f[0] + m + f[4];
      r = f[1] + m + f[5];
      break;
    }
    case 7: {
      const int m = Scaled(f[2] + f[3] + f[6]);
      l = f[0] + m + f[4];
      r = f[1] + m + f[5];
      break;
    }
    case 8: {
      const int m = Scaled(f[2] + f[3]);
      l = f[0] + m + f[4] + f[6];
      r = f[1] + m + f[5] + f[7];
      break;
    }
    default:
      l = f[0];
      r = f[1];
      break;
  }
  left = Clamp16(l);
  right = Clamp16(r);
}

}  // namespace quillo
