#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "archive/organisation_review.h"

namespace lorvi {

struct ArchiveRequest {
  std::vector<std::string> inputs;  // files and folders (UTF-8), folders as a load takes them
  std::string overview;             // the overview workbook to write (UTF-8)
  std::string workbooksFolder;      // where each organisation's workbook goes; empty: none
  char separator = ',';             // the locale's decimal separator (code page 1251)
  std::time_t created = 0;          // stamps the files
  std::string date;                 // of the reconciliations, day.month.year
};

// Told, as the archive is worked through, what is being done (UTF-8, "Сверка архива:
// организация 3 из 120") and how far; false cancels with Cancelled, leaving the overview unwritten
// and the workbooks written so far.
using ArchiveProgress =
    std::function<bool(const std::string& statusUtf8, std::size_t done, std::size_t total)>;

struct ArchiveOutcome {
  std::size_t organisations = 0;
  std::size_t unreadOrganisations = 0;  // whose reading failed
  std::size_t untakenFiles = 0;
};

// Reads the organisations of the archive one after another, each in a session of its own, and
// writes the overview (and the workbooks). Each review goes to `reviewed` once it is in the
// overview. A file that cannot be written throws its LorviError; the other files stay as they
// were.
ArchiveOutcome ReconcileArchive(const ArchiveRequest& request,
                                const std::function<void(const OrganisationReview&)>& reviewed,
                                const ArchiveProgress& progress = {});

}  // namespace lorvi
