#pragma once
// Facts about the operating system that some windows choose their behaviour by.

namespace derode::core {

// The program's dialogs take their modern fonts; always so here.
bool ISWINDOWSVISTA();
// User account control does not exist here, so the Insert key is never forced.
bool ISUACACTIVATED();

}  // namespace derode::core
