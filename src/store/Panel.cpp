#include "store/Panel.h"

#include <algorithm>

#include "platform/Text.h"

namespace vantrel {

void InstrumentList::sort() {
  std::stable_sort(rows_.begin(), rows_.end(), [](const InstrumentRow& a, const InstrumentRow& b) {
    return compareCaptions(a.Caption, b.Caption) < 0;
  });
}

std::size_t InstrumentList::add(InstrumentRow row) {
  rows_.push_back(std::move(row));
  const std::size_t marker = rows_.size() - 1;
  // Remember the row through a unique tag while sorting.
  std::vector<std::size_t> order(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return compareCaptions(rows_[a].Caption, rows_[b].Caption) < 0;
  });
  std::vector<InstrumentRow> sorted;
  sorted.reserve(rows_.size());
  std::size_t found = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i] == marker) found = i;
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_ = std::move(sorted);
  return found;
}

std::size_t InstrumentList::setCaption(std::size_t index, const std::string& caption) {
  InstrumentRow row = std::move(rows_.at(index));
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  row.Caption = caption;
  return add(std::move(row));
}

}  // namespace vantrel
