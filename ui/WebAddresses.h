#pragma once

namespace quillo::web {

// Every web and e-mail address the window opens, in one place.
inline constexpr const char* kHomepage = "https://quillo.app/";
inline constexpr const char* kCheckLatestVersion =
    "https://quillo.app/checkforupdates/?ver=3.2&build=857";
inline constexpr const char* kFeedbackAndSupport =
    "mailto:support@quillo.app?subject=Quillo%20feedback";
inline constexpr const char* kTellAFriend =
    "mailto:?subject=Try%20Quillo%2C%20a%20batch%20audio%20converter"
    "&body=Quillo%20converts%20audio%20and%20video%20files%20to%20MP3%2C%20WAV%2C%20FLAC%2C%20Ogg"
    "%20and%20more%2C%20many%20at%20once%3A%20https%3A%2F%2Fquillo.app%2F";

}  // namespace quillo::web
