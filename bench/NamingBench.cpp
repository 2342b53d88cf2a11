// Names the outputs of COUNT files of one name from as many folders into one
// output folder, as a conversion run does before it converts, and prints the
// time it took. Every output name is proved on the disk as in a real run.
// Given a tagged file and a name pattern, the COUNT files are copies of it
// and each name reads the copy's tags, as a run with --name does.
//
//   quillo_bench_naming [COUNT [TAGGED_FILE PATTERN]]   (10000 when not given)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "catalog/Catalog.h"
#include "engine/ConversionRun.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const long count = argc > 1 ? std::atol(argv[1]) : 10000;
  if (count <= 0) {
    std::fprintf(stderr, "usage: %s [COUNT]\n", argv[0]);
    return 2;
  }
  const fs::path work = fs::temp_directory_path() / "quillo-bench-naming";
  fs::remove_all(work);
  fs::create_directories(work / "out");

  quillo::ConversionSettings settings("");
  settings.destOutputFolderOpt = quillo::OutputFolderMode::SpecificFolder;
  settings.destSpecifiedFolder = (work / "out").string();
  settings.outputFormat = quillo::format_id::kWav;
  quillo::ConversionJob job;
  const std::string tagged = argc > 3 ? argv[2] : "";
  if (!tagged.empty()) settings.namePattern = argv[3];
  const quillo::InstalledBackends installed;
  quillo::BackendTable backends;
  if (!tagged.empty()) backends = installed.table();
  quillo::SourceFactory factory(backends, nullptr);
  quillo::NullProgress progress;
  quillo::PassContext pass{settings, *quillo::FindFormat(settings.formats, settings.outputFormat),
                           job,      backends,
                           factory,  progress};

  std::vector<quillo::FileItem> files(static_cast<size_t>(count));
  for (long i = 0; i < count; ++i) {
    std::string& path = files[static_cast<size_t>(i)].path;
    path = "/music/" + std::to_string(i) + "/song.flac";
    if (tagged.empty()) continue;
    path = (work / "in" / (std::to_string(i) + fs::path(tagged).extension().string())).string();
    fs::create_directories(work / "in");
    fs::copy_file(tagged, path);
  }

  const auto start = std::chrono::steady_clock::now();
  quillo::OutputNamer namer(pass, "");
  for (quillo::FileItem& file : files) {
    quillo::FileResult result;
    if (namer.Name(file, result)) {
      std::fprintf(stderr, "naming %s failed\n", file.path.c_str());
      return 1;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::string last = files.back().outputPath;
  fs::remove_all(work);
  std::printf("named %ld files of one name in %.3f s (last: %s)\n", count, seconds,
              last.c_str() + (work / "out").string().size() + 1);
  return 0;
}
