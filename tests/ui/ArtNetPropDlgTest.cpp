// The node details dialog: the texts of every cell for nodes with one and with
// four ports, and how an empty value is drawn.
#include "ui/dialogs/ArtNetPropDlg.h"

#include <QApplication>
#include <QImage>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestApplication.h"
#include "ui/qt/ColorConvert.h"
#include "util/SystemColor.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

template <size_t N>
void SetText(std::array<char, N>& field, const std::string& bytes) {
  field.fill('\0');
  std::copy_n(bytes.begin(), std::min(bytes.size(), N - 1), field.begin());
}

QStringList Column(const QTableWidget* grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid->rowCount(); ++row) texts << grid->item(row, column)->text();
  return texts;
}

QStringList Row(const QTableWidget* grid, int row) {
  QStringList texts;
  for (int column = 0; column < grid->columnCount(); ++column) {
    texts << grid->item(row, column)->text();
  }
  return texts;
}

class ArtNetPropDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    window = std::make_unique<TArtNetPropDlg>();
  }

  void Show(const std::optional<TArtNode>& node) {
    window->Node = node;
    window->show();
    QApplication::processEvents();
  }

  std::unique_ptr<TArtNetPropDlg> window;
};

TEST_F(ArtNetPropDlgTest, ANodeWithFourPorts) {
  TArtNode node;
  node.IpAddress = {2, 0, 0, 10};
  SetText(node.ShortName, "gateway");
  SetText(node.LongName, Utf8ToCp932("舞台 下手 ゲートウェイ"));
  SetText(node.NodeReport, "#0001 [0042] OK");
  node.NetSwitch = 0;
  node.SubSwitch = 1;
  node.PortTypes = {0x40, 0x80, 0xC0, 0x00};
  node.SwIn = {8, 9, 10, 11};
  node.SwOut = {0, 1, 2, 3};
  Show(node);
  EXPECT_EQ(window->windowTitle(), "ノードの詳細情報");
  EXPECT_EQ(Column(window->InfoGrid(), 0),
            (QStringList{"IP Address", "Short Name", "Long Name", "Node Report"}));
  EXPECT_EQ(
      Column(window->InfoGrid(), 1),
      (QStringList{"  2.  0.  0. 10", "gateway", "舞台 下手 ゲートウェイ", "#0001 [0042] OK"}));
  EXPECT_EQ(Row(window->PortGrid(), 0), (QStringList{"", "1", "2", "3", "4"}));
  EXPECT_EQ(Row(window->PortGrid(), 1), (QStringList{"In", "000:1:8", "", "000:1:A", ""}));
  EXPECT_EQ(Row(window->PortGrid(), 2), (QStringList{"Out", "", "000:1:1", "000:1:2", ""}));
}

// A one-port output node that, like this program, puts its Sub-Net into the high
// four bits of SwOut; the Universe is the low four.
TEST_F(ArtNetPropDlgTest, ANodeWithOnePortAndNoShortName) {
  TArtNode node;
  node.IpAddress = {192, 168, 11, 200};
  SetText(node.LongName, "Dimmer rack");
  node.NetSwitch = 127;
  node.SubSwitch = 15;
  node.NumPortsLo = 1;
  node.PortTypes = {0x80, 0, 0, 0};
  node.SwOut = {0xF3, 0, 0, 0};
  Show(node);
  EXPECT_EQ(Column(window->InfoGrid(), 1), (QStringList{"192.168. 11.200", "", "Dimmer rack", ""}));
  EXPECT_EQ(Row(window->PortGrid(), 1), (QStringList{"In", "", "", "", ""}));
  EXPECT_EQ(Row(window->PortGrid(), 2), (QStringList{"Out", "127:F:3", "", "", ""}));

  // An empty value is drawn in the workspace colour, a filled one on the window colour.
  QTableWidget* grid = window->InfoGrid();
  const QImage picture = grid->viewport()->grab().toImage();
  const auto inside = [&](int row) {
    const QRect cell = grid->visualItemRect(grid->item(row, 1));
    return picture.pixelColor(std::min(cell.right(), picture.width() - 1) - 3, cell.bottom() - 2);
  };
  EXPECT_EQ(inside(1), ToQColor(ColorToRgb(kSystemColorFlag | kSysColorAppWorkspace)));
  EXPECT_EQ(inside(2), grid->palette().color(QPalette::Base));
}

TEST_F(ArtNetPropDlgTest, WithoutANodeOnlyTheFixedTextsShow) {
  TArtNode node;
  node.IpAddress = {2, 0, 0, 1};
  Show(node);
  window->hide();
  Show(std::nullopt);
  EXPECT_EQ(Column(window->InfoGrid(), 1), (QStringList{"", "", "", ""}));
  EXPECT_EQ(Column(window->PortGrid(), 0), (QStringList{"", "In", "Out"}));
}

}  // namespace
}  // namespace lumaplot
