#include "store/amount_block.h"

#include "store/zl_reader.h"

namespace lorvi {

void StoreSink::Dismissed() { MarkDismissed(info_, row_, periodEntry_); }

}  // namespace lorvi
