#include "ui/dialogs/ArtNetPropDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

#include "ui/qt/ColorConvert.h"
#include "util/SystemColor.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

constexpr const char* kInfoRows[] = {"IP Address", "Short Name", "Long Name", "Node Report"};
constexpr int kNameColumnWidth = 90;  // at 96 dots per inch
constexpr int kValueColumnWidth = 600;
constexpr int kTextInset = 4;
constexpr uint8_t kPortInputs = 0x40;
constexpr uint8_t kPortOutputs = 0x80;

int Scaled(const QWidget* widget, int pixels) { return pixels * widget->logicalDpiX() / 96; }

// Paints a grid's cells as the dialog shows them: headers in the button face, values
// on the window colour, empty values on the workspace colour; the text inset by four
// pixels from the left and top, or centred across the cell.
class TGridCellDelegate : public QStyledItemDelegate {
 public:
  TGridCellDelegate(std::function<bool(int row, int column)> isHeader, bool centred,
                    QObject* parent)
      : QStyledItemDelegate(parent), isHeader_(std::move(isHeader)), centred_(centred) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QWidget* view = option.widget;
    const QPalette& palette = option.palette;
    const QString text = index.data().toString();
    const bool header = isHeader_(index.row(), index.column());
    QColor back = palette.color(QPalette::Base);
    QColor fore = palette.color(QPalette::Text);
    if (header) {
      back = palette.color(QPalette::Button);
      fore = palette.color(QPalette::ButtonText);
    } else if (text.isEmpty()) {
      back = ToQColor(ColorToRgb(kSystemColorFlag | kSysColorAppWorkspace));
    }
    painter->save();
    painter->fillRect(option.rect, back);
    painter->setPen(fore);
    const int inset = view ? Scaled(view, kTextInset) : kTextInset;
    const QRect area = option.rect.adjusted(centred_ ? 0 : inset, inset, 0, 0);
    const int flags = Qt::AlignTop | (centred_ ? Qt::AlignHCenter : Qt::AlignLeft);
    painter->drawText(area, flags, text);
    painter->restore();
  }

 private:
  std::function<bool(int, int)> isHeader_;
  bool centred_;
};

QTableWidget* MakeGrid(QWidget* parent, const char* name, int rows, int columns) {
  auto* grid = new QTableWidget(rows, columns, parent);
  grid->setObjectName(name);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setFocusPolicy(Qt::NoFocus);
  // Rows as tall as a line of text with the inset above and below it.
  grid->verticalHeader()->setMinimumSectionSize(1);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 2 * kTextInset + 1);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      grid->setItem(row, column, new QTableWidgetItem);
    }
  }
  return grid;
}

// A grid just as tall as its rows.
void FitHeight(QTableWidget* grid) {
  int height = 2 * grid->frameWidth();
  for (int row = 0; row < grid->rowCount(); ++row) height += grid->rowHeight(row);
  if (grid->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) {
    height += grid->horizontalScrollBar()->sizeHint().height();
  }
  grid->setFixedHeight(height);
}

QString NodeText(const char* field, size_t size) {
  size_t length = 0;
  while (length < size && field[length] != '\0') ++length;
  return QString::fromStdString(Cp932ToUtf8(std::string(field, length)));
}

}  // namespace

TArtNetPropDlg::TArtNetPropDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      InfoGrid_(MakeGrid(this, "InfoGrid", 4, 2)),
      Label1_(new QLabel("Net : Sub-Net : Universe", this)),
      PortGrid_(MakeGrid(this, "PortGrid", 3, 5)),
      OKBtn_(new QPushButton("OK", this)) {
  setObjectName("ArtNetPropDlg");
  setWindowTitle("ノードの詳細情報");
  setMinimumSize(kMinWidth, kMinHeight);
  resize(kClientWidth, kClientHeight);

  InfoGrid_->setItemDelegate(
      new TGridCellDelegate([](int, int column) { return column == 0; }, false, InfoGrid_));
  InfoGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  InfoGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  for (int row = 0; row < 4; ++row) InfoGrid_->item(row, 0)->setText(kInfoRows[row]);

  // The port grid's text is centred (its tag 1).
  PortGrid_->setProperty("tag", 1);
  PortGrid_->setItemDelegate(new TGridCellDelegate(
      [](int row, int column) { return row == 0 || column == 0; }, true, PortGrid_));
  // The five columns share the dialog's width, so every port is seen.
  PortGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  PortGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PortGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int k = 1; k <= 4; ++k) PortGrid_->item(0, k)->setText(QString::number(k));
  PortGrid_->item(1, 0)->setText("In");
  PortGrid_->item(2, 0)->setText("Out");
  FitHeight(PortGrid_);

  Label1_->setObjectName("Label1");
  OKBtn_->setObjectName("OKBtn");
  OKBtn_->setDefault(true);
  OKBtn_->setFixedWidth(75);
  connect(OKBtn_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(InfoGrid_, 1);
  layout->addWidget(Label1_);
  layout->addWidget(PortGrid_);
  layout->addLayout(buttons);
}

TArtNetPropDlg::TArtNetPropDlg(const TDialogContext&, QWidget* parent) : TArtNetPropDlg(parent) {}

QString TArtNetPropDlg::IpAddressText(const TArtNode& node) {
  return QString::asprintf("%3u.%3u.%3u.%3u", node.IpAddress[0], node.IpAddress[1],
                           node.IpAddress[2], node.IpAddress[3]);
}

// Some nodes (this program among them) put the Sub-Net into the high four bits of
// SwIn and SwOut; the Universe is the low four.
QString TArtNetPropDlg::PortText(const TArtNode& node, int k, bool output) {
  const uint8_t type = node.PortTypes[static_cast<size_t>(k)];
  if ((type & (output ? kPortOutputs : kPortInputs)) == 0) return {};
  const uint8_t universe = (output ? node.SwOut : node.SwIn)[static_cast<size_t>(k)] & 0x0F;
  return QString::asprintf("%03u:%1X:%1X", node.NetSwitch & 0x7Fu, node.SubSwitch & 0x0Fu,
                           static_cast<unsigned>(universe));
}

void TArtNetPropDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TArtNetPropDlg::FormShow() {
  InfoGrid_->setColumnWidth(0, Scaled(this, kNameColumnWidth));
  InfoGrid_->setColumnWidth(1, Scaled(this, kValueColumnWidth));
  const QString values[] = {
      Node ? IpAddressText(*Node) : QString(),
      Node ? NodeText(Node->ShortName.data(), Node->ShortName.size()) : QString(),
      Node ? NodeText(Node->LongName.data(), Node->LongName.size()) : QString(),
      Node ? NodeText(Node->NodeReport.data(), Node->NodeReport.size()) : QString(),
  };
  for (int row = 0; row < 4; ++row) InfoGrid_->item(row, 1)->setText(values[row]);
  for (int k = 0; k < 4; ++k) {
    PortGrid_->item(1, k + 1)->setText(Node ? PortText(*Node, k, false) : QString());
    PortGrid_->item(2, k + 1)->setText(Node ? PortText(*Node, k, true) : QString());
  }
}

}  // namespace lumaplot
