#include <ostream>

#include "refdata.h"

namespace refdata {
int check_data(const std::string&, const std::string&, std::ostream& out) {
  out << "not yet\n";
  return 1;
}
}  // namespace refdata
