#pragma once
// What the main window keeps of the loaded panel.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// Monitor count and the dimensions of monitors 0 to 3.
struct MonitorTable {
  std::int32_t Count = 0;
  std::array<std::int32_t, 4> Widths{};
  std::array<std::int32_t, 4> Heights{};
};

struct PanelState {
  std::string PanelMonitor = "0";
  bool ShowBackground = true;
  bool ShowBezels = true;
  bool EnableLighting = false;
  MonitorTable Monitors{1, {}, {}};
};

// One row of lvInstruments: check box, caption and six sub-items.
// Sub-items: 0 port ("App" for an application row), 1 path, 2 IP address (parameters of
// an application row), 3 flight-simulator port, 4 size, 5 instance number.
struct InstrumentRow {
  bool Checked = false;
  std::string Caption;
  std::array<std::string, 6> SubItems;
  bool isApplication() const { return SubItems[0] == "App"; }
};

// The instrument list, kept sorted by caption with the locale-aware comparison.
class InstrumentList {
 public:
  const std::vector<InstrumentRow>& rows() const { return rows_; }
  std::vector<InstrumentRow>& rows() { return rows_; }
  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  void clear() { rows_.clear(); }
  // Adds a row and sorts the list again; returns the row's new index.
  std::size_t add(InstrumentRow row);
  // Sets a row's caption and sorts the list again; returns the row's new index.
  std::size_t setCaption(std::size_t index, const std::string& caption);
  void sort();

 private:
  std::vector<InstrumentRow> rows_;
};

}  // namespace vantrel
