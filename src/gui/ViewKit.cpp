#include "gui/ViewKit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <algorithm>

namespace vantrel::gui {

QGroupBox* radioGroup(const TRadioGroup& r, QButtonGroup*& buttons, QWidget* owner,
                      int verticalSpacing) {
  auto* box = named(new QGroupBox(q(r.Caption)), r.Name);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(8, 4, 8, 4);
  if (verticalSpacing >= 0) grid->setVerticalSpacing(verticalSpacing);
  buttons = new QButtonGroup(owner);
  const int columns = std::max(1, r.Columns);
  const int rows = (static_cast<int>(r.Items.size()) + columns - 1) / columns;
  for (int i = 0; i < static_cast<int>(r.Items.size()); ++i) {
    auto* b = new QRadioButton(q(r.Items[i]));
    buttons->addButton(b, i);
    grid->addWidget(b, i % rows, i / rows);
  }
  return box;
}

}  // namespace vantrel::gui
