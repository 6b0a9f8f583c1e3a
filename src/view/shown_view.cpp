#include "view/shown_view.h"

#include "base/text1251.h"

namespace lorvi {

std::string NameColumnTitle(const PrintSource& shown) {
  return std::string(shown.personsView ? "ФИО"_w : "Категории"_w);
}

std::string FilterCaption(const PrintSource& shown) {
  return shown.personsView ? shown.tabCaption : std::string();
}

}  // namespace lorvi
