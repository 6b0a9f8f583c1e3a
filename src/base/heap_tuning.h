#pragma once

namespace lorvi {

// Lets the C library keep freed memory for reuse instead of handing it back to the system at
// once. Writing a report allocates and frees a page's buffers thousands of times; given back
// each time, every page paid for fresh, zeroed memory (about a third of a PDF export). Call once
// at start; does nothing where the C library has no such setting.
void KeepFreedMemoryForReuse();

}  // namespace lorvi
