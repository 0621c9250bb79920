#pragma once
// TArtNetPropDlg ("ノードの詳細情報"): the details of one Art-Net node as its
// ArtPollReply described it: address, names, report, and the Net:Sub-Net:Universe
// of each of its up to four input and output ports.
//
// The caller sets Node and shows the dialog modally; every showing fills the grids
// from Node (empty grids without one). The node's texts are code page 932 bytes,
// shown converted. Header cells are drawn in the button face, value cells in the
// window colour, an empty value cell in the workspace colour, so that a missing
// value is seen as missing. Created once and reused. GUI thread only.
#include <QDialog>
#include <QString>

#include <optional>

#include "dmx/ArtNode.h"
#include "ui/dialogs/DialogContext.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace lumaplot {

class TArtNetPropDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 415;
  static constexpr int kClientHeight = 285;
  static constexpr int kMinWidth = 400;
  static constexpr int kMinHeight = 260;

  explicit TArtNetPropDlg(QWidget* parent = nullptr);
  TArtNetPropDlg(const TDialogContext& context, QWidget* parent);

  // The node shown; none: the grids keep only their fixed texts.
  std::optional<TArtNode> Node;

  QTableWidget* InfoGrid() const { return InfoGrid_; }
  QTableWidget* PortGrid() const { return PortGrid_; }

  // "%3u.%3u.%3u.%3u" of the node's address.
  static QString IpAddressText(const TArtNode& node);
  // "%03u:%1X:%1X" of port k (0 ... 3) as an input (SwIn) or an output (SwOut); empty
  // when the port is not of that kind.
  static QString PortText(const TArtNode& node, int k, bool output);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  QTableWidget* InfoGrid_;
  QLabel* Label1_;
  QTableWidget* PortGrid_;
  QPushButton* OKBtn_;
};

}  // namespace lumaplot
