// The generator window's placement names only groups and controls the window has.
#include <QtTest>
#include <set>

#include "app/PanelLayout.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

using namespace tunx;
using namespace tunx::app;

class PanelLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void everyGroupAndCellIsOneOfTheWindows() {
        HeadlessUi ui;
        Wiring wiring({.simulate = true, .fast = true, .installDir = TUNX_SHARE_DIR}, ui);
        const frmMain& w = wiring.program().generator();
        std::set<std::string> groups;
        std::set<const Control*> controls;
        for (const auto& c : w.controls()) {
            groups.insert(c->group);
            controls.insert(c.get());
        }
        int cells = 0;
        for (const Column& column : generatorPanelLayout(w).columns) {
            for (const GroupPlacement& placement : column) {
                QVERIFY2(groups.count(std::string(placement.group)) == 1,
                         std::string(placement.group).c_str());
                for (const Row& row : placement.rows) {
                    for (const Cell& cell : row) {
                        // An unbound cell is an empty one.
                        QVERIFY(!cell.control.bound() || controls.count(cell.control.get()) == 1);
                        cells += cell.control.bound() ? 1 : 0;
                    }
                }
            }
        }
        QVERIFY(cells > 80);
    }
};

QTEST_MAIN(PanelLayoutTest)
#include "PanelLayoutTest.moc"
