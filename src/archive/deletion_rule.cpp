// One deletion rule of the settings: a file specification and the condition its files must meet.
#include "archive/deletion_rule.h"

namespace archive {

bool FileDeletion::operator==(const FileDeletion& other) const {
  return specification == other.specification && condition == other.condition && value == other.value &&
         flags == other.flags;
}

}  // namespace archive
