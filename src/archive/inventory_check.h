#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/text1251.h"
#include "store/amount.h"
#include "store/org_store.h"

namespace lorvi {

// Accrued and paid of one part, summed exactly; cells that do not convert ("???") add nothing,
// as in the grids.
struct PartFigures {
  Amount4 accrued = 0;
  Amount4 paid = 0;
};

// One period and part of an organisation: the inventory's line for the insurer against the sum
// of the period's individual records and against the sum of the inventory's category lines.
struct InventoryCheck {
  std::string period;  // the period key
  bool insurance = true;
  std::optional<PartFigures> insurer;     // none: no inventory, or it has no such line
  std::optional<PartFigures> records;     // none: no individual records for the period
  std::optional<PartFigures> categories;  // none: no inventory for the period

  // By the grids' rule, accrued with accrued and paid with paid. A missing side disagrees.
  bool RecordsAgree() const;
  bool CategoriesAgree() const;
  bool Agrees() const { return RecordsAgree() && CategoriesAgree(); }
};

// What a check that does not agree says in words (code page 1251); empty when it agrees.
std::string InventoryRemark(const InventoryCheck& check);

// The inventory's row of the insurer's own figures.
inline constexpr std::string_view kInsurerRow = "ПО СТРАХОВАТЕЛЮ"_w;

// Every period of the organisation in `slot` that has individual records or an inventory, in the
// order of period keys, each with the insurance part, then the funded part.
std::vector<InventoryCheck> CheckInventories(const OrgStore& store, int slot);

}  // namespace lorvi
