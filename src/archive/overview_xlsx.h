#pragma once

#include <cstddef>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_files.h"
#include "archive/organisation_review.h"

namespace lorvi {

// The overview of an archive, a workbook written as the organisations are read, so that memory
// does not grow with the archive: sheets "Организации" (one row each and a row of totals),
// "Расхождения" (persons and categories whose totals differ), "Опись и сведения" (periods whose
// inventory disagrees with the records) and "Не прочитаны" (files not taken, organisations that
// could not be read). Amounts are numbers, differences coloured as in the grids. Written whole or
// not at all; a failure throws "Не удалось записать обзор в файл <path>: <reason>".
class ArchiveOverview {
 public:
  // `created` stamps the file (0: now); `organisations` will be added.
  ArchiveOverview(const std::string& pathUtf8, std::time_t created, std::size_t organisations);
  ~ArchiveOverview();
  ArchiveOverview(const ArchiveOverview&) = delete;
  ArchiveOverview& operator=(const ArchiveOverview&) = delete;

  void Add(const OrganisationReview& review);
  void AddUntaken(const std::vector<UntakenFile>& files);
  // Writes the totals and puts the file in the target's place.
  void Commit();

 private:
  class Book;
  std::unique_ptr<Book> book_;
};

}  // namespace lorvi
