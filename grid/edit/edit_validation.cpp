#include "grid/edit/edit_validation.h"

namespace kelvora {

TEditVerdict ValidateEdit(std::string_view snapshot, std::string_view current,
                          const TEditValidator& validator) {
  TEditVerdict verdict;
  if (current == snapshot || !validator) return verdict;
  std::string value(current);
  validator(value, verdict.Valid);
  if (value != current) verdict.Store = std::move(value);
  else if (!verdict.Valid) verdict.Store = std::string(snapshot);
  return verdict;
}

}  // namespace kelvora
