#pragma once

#include <string>
#include <vector>

namespace quillo {

class ConversionSettings;

// The filters of Add Folder and of dropped items.
struct CandidateFilter {
  bool skipHidden = false;               // names starting with "."
  bool useExtensionFilter = false;
  std::vector<std::string> extensions;   // lower case, as typed (a leading dot is kept)
};

// The filters the settings ask for (hidden files, the extension filter).
CandidateFilter CandidateFilterFrom(const ConversionSettings& settings);

// Whether a found file enters the candidate list; a symbolic link that the
// filters refuse is followed to its target, which is then tested instead.
// Returns the accepted path, or empty when the file is rejected.
std::string TestCandidate(const std::string& path, const CandidateFilter& filter);

// Every file below `folder` (the folder first, then its subfolders depth
// first, hidden folders included) that passes the filters, in that order.
// Folders that could not be searched (unreadable, or more than 64 levels
// below `folder`) go to `missed` when it is given, one "PATH (reason)" text
// each, so that the user learns which files were left out.
std::vector<std::string> SearchFolder(const std::string& folder, const CandidateFilter& filter,
                                      std::vector<std::string>* missed = nullptr);

}  // namespace quillo
