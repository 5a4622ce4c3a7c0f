#pragma once
// The data the program ships with (language packs, the operator's manuals), found from where
// the running program lies, never from a path compiled in:
//   installed:  <prefix>/bin/dryer-panel  ->  <prefix>/share/dryer-panel/{Languages,Manuals}
//   build tree: <build>/bin/dryer-panel   ->  <build>/assets/{Languages,Manuals}
#include <cstddef>

namespace shell {

struct ShippedData {
  char dir[1024] = {};     // empty when neither layout is found
  bool installed = false;  // the program runs from an installed prefix
};

// Looks beside the running program once and keeps the answer.
const ShippedData& FindShippedData();

// Copies the shipped manuals into "<root>/Hard Disk/Manuals", replacing a copy that differs
// in size or is older than the shipped one; manuals are ours, the operator keeps none there
// under these names. Returns the number of files copied, -1 when one could not be.
int RefreshManuals(const char* root);

}  // namespace shell
