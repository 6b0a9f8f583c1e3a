#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

#include "workbook/reconciliation.h"

namespace lorvi {

// Writes the reconciliation as a workbook at `pathUtf8`: sheets "Сводка", "Страховая часть" and
// "Накопительная часть", amounts as numbers. Rows go out as they are written, so memory does not
// grow with the organisation. `created` stamps the file, so the same figures on the same day give
// the same file under any locale. The file is written whole or not at all; a failure throws
// "Не удалось записать сверку в файл <path>: <reason>".
// Told of every row written, `done` of `total` of both parts; false stops the writing with
// Cancelled, nothing written.
using WorkbookProgress = std::function<bool(std::size_t done, std::size_t total)>;

void WriteReconciliationWorkbook(const Reconciliation& reconciliation, const std::string& pathUtf8,
                                 std::time_t created, const WorkbookProgress& progress = {});

}  // namespace lorvi
