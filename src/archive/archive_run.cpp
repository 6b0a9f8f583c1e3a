#include "archive/archive_run.h"

#include <filesystem>

#include "archive/archive_files.h"
#include "archive/overview_xlsx.h"
#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/file_list.h"
#include "workbook/workbook_xlsx.h"

namespace lorvi {

ArchiveOutcome ReconcileArchive(const ArchiveRequest& request,
                                const std::function<void(const OrganisationReview&)>& reviewed,
                                const ArchiveProgress& progress) {
  const std::vector<std::string> paths = ExpandFolders(request.inputs);
  const ArchiveFiles archive = SortArchive(paths, [&](std::size_t done, std::size_t total) {
    return !progress || progress("Сверка архива: заголовки файлов", done, total);
  });

  if (!request.workbooksFolder.empty()) {
    // A folder that cannot be made shows as the first workbook that cannot be written.
    std::error_code ignored;
    std::filesystem::create_directories(request.workbooksFolder, ignored);
  }
  ArchiveOutcome outcome;
  outcome.untakenFiles = archive.untaken.size();
  const std::size_t total = archive.organisations.size();
  ArchiveOverview overview(request.overview, request.created, total);
  for (std::size_t i = 0; i < total; ++i) {
    StepOf(progress,
           "Сверка архива: организация " + std::to_string(i + 1) + " из " + std::to_string(total),
           i, total);
    const OrganisationReview review =
        ReviewOrganisation(archive.organisations[i], request.separator, request.date);
    ++outcome.organisations;
    if (!review.Read()) ++outcome.unreadOrganisations;
    if (review.Read() && !request.workbooksFolder.empty())
      WriteReconciliationWorkbook(*review.reconciliation,
                                  request.workbooksFolder + "/" +
                                      Cp1251ToUtf8(ReconciliationFileName(*review.reconciliation)),
                                  request.created);
    overview.Add(review);
    if (reviewed) reviewed(review);
  }
  overview.AddUntaken(archive.untaken);
  StepOf(progress, std::string("Сверка архива: запись обзора"), total, total);
  overview.Commit();
  return outcome;
}

}  // namespace lorvi
