#include "ca/app/standin/DemoMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRect>

#include "ca/app/standin/DemoClient.h"
#include "ca/util/CommandGuard.h"

namespace ca::app {

void addDemoMenu(QMenuBar& bar, QAction* before, DemoClient& demo, Prompts& prompts,
                 std::function<QRect()> beside) {
    auto* menu = new QMenu("演示", &bar);
    menu->setObjectName("DemoMenu");
    QAction* start = menu->addAction("启动模拟海关录入程序");
    start->setObjectName("DemoStartClient");
    QObject::connect(start, &QAction::triggered, menu, [&demo, &prompts, beside = std::move(beside)] {
        CommandGuard::run(prompts, [&] { demo.showWindow(beside()); });
    });
    bar.insertMenu(before, menu);
}

}  // namespace ca::app
