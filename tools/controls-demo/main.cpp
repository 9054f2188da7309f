// Shows every skinned control on stand-ins of the windows that use them.
//   controls-demo                 opens the window
//   controls-demo --shot <file>   also saves a screenshot of the screen area and quits
#include "tools/controls-demo/SkinPanel.h"

#include "client/model/ProgramFolder.h"
#include "controls/FontCtrl.h"
#include "controls/ImgBut.h"
#include "controls/LinkFontCtrl.h"
#include "controls/NewBitComboBox.h"
#include "controls/PictureEx.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include <deque>

namespace {

// Owns the demo's controls; the windows hold them as members.
struct Parts
{
    std::deque<CImgBut> buttons;
    std::deque<CFontCtrl> labels;
    std::deque<CLinkFontCtrl> links;

    CImgBut& Button(const char* file, QWidget* parent, int id, int x, int y)
    {
        buttons.emplace_back();
        buttons.back().CreateButton(QString::fromLatin1("skin/%1").arg(QLatin1String(file)), parent,
                                    id, x, y);
        return buttons.back();
    }
    CFontCtrl& Label(QWidget* parent, const QRect& r, const QString& text, const QColor& colour,
                     int height = 12, int alignment = CFontCtrl::Left)
    {
        labels.emplace_back();
        CFontCtrl& l = labels.back();
        l.Create(parent, r, 0);
        l.SetText(text);
        l.SetColour(colour);
        l.SetHeight(height);
        l.SetAlignment(alignment);
        l.SetFaceName(QStringLiteral("Noto Sans CJK SC"));
        return l;
    }
    CLinkFontCtrl& Link(QWidget* parent, const QRect& r, const QString& text, const QString& to)
    {
        links.emplace_back();
        CLinkFontCtrl& l = links.back();
        l.Create(parent, r, 0);
        l.SetText(text);
        l.SetTarget(to);
        l.SetColour(QColor(0, 102, 255));
        l.SetHeight(14);
        l.SetFaceName(QStringLiteral("Noto Sans CJK SC"));
        return l;
    }
};

void Hover(CImgBut& button)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&button, &enter);
}

QCheckBox* Check(QWidget* parent, const QString& text, int x, int y, bool on)
{
    auto* box = new QCheckBox(text, parent);
    box->move(x, y);
    box->setChecked(on);
    box->setFont(CNewBitComboBox::BoxFont());
    return box;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ProgramFolder(); // skin/ lies beside the program
    QWidget window;
    Parts parts; // destroyed before the window, which would otherwise delete them first
    window.setWindowTitle(QStringLiteral("MERIDEX controls"));
    window.resize(1360, 530);
    window.setStyleSheet(QStringLiteral("QWidget#gallery { background: #8a9aa8; }"));
    window.setObjectName(QStringLiteral("gallery"));

    // Main panel.
    auto* main = new SkinPanel(QStringLiteral("skin/back.bmp"), &window, 8, 8);
    parts.Button("main_min.bmp", main, 10110, 212, 0);
    Hover(parts.Button("main_close.bmp", main, 10111, 248, 0));
    parts.Label(main, QRect(122, 10, 28, 15), QStringLiteral("鹭眸"), Qt::white);
    auto* search = new CNewBitComboBox;
    search->Create(CNewBitComboBox::DropDown, QRect(27, 41, 154, 143), main, 10116);
    search->SetComboImages(QStringLiteral("skin/main_l.bmp"), QStringLiteral("skin/main_r.bmp"),
                           QStringLiteral("skin/main_c.bmp"));
    search->setEditText(QStringLiteral("600519 贵州茅台"));
    Hover(parts.Button("add.bmp", main, 10114, 186, 40));
    parts.Button("Diagn.bmp", main, 10115, 240, 40);
    parts.Button("self2.bmp", main, 10117, 19, 63);
    parts.Button("star1.bmp", main, 10118, 118, 63);
    parts.Button("zhen1.bmp", main, 10119, 210, 63);
    auto* page = new SkinPanel(QStringLiteral("skin/d.bmp"), main, 3, 91);
    parts.Button("shuaxin.bmp", page, 10112, 147, 158);
    parts.Button("logingrey.bmp", main, 10112, 0, 479);
    Hover(parts.Button("set.bmp", main, 10113, 98, 479));
    parts.Button("help.bmp", main, 10120, 195, 479);

    // Login panel.
    auto* login = new SkinPanel(QStringLiteral("skin/loginbk.bmp"), &window, 312, 8);
    parts.Button("close.bmp", login, 10032, 245, 0);
    for (int y : {164, 202}) {
        auto* edit = new QLineEdit(login);
        edit->setGeometry(69, y, 176, 20);
        edit->setFrame(false);
        edit->setStyleSheet(QStringLiteral("background: rgb(235,235,235); color: black;"));
        edit->setText(y == 164 ? QStringLiteral("zhangsan") : QStringLiteral("secret"));
        edit->setEchoMode(y == 164 ? QLineEdit::Normal : QLineEdit::Password);
    }
    Check(login, QStringLiteral("记住密码"), 68, 278, true);
    Check(login, QStringLiteral("自动登录"), 176, 278, false);
    parts.Button("login.bmp", login, 10030, 96, 315);
    auto* loading = new CPictureEx(login);
    loading->Load(QStringLiteral("skin/loading.gif"));
    loading->SetBkColor(QColor(226, 234, 240));
    loading->move(130, 352);
    loading->Draw();
    parts.Button("forget.bmp", login, 10035, 0, 479);
    parts.Button("register.bmp", login, 10034, 146, 479);

    // Settings dialog with its sound list open.
    auto* settings = new SkinPanel(QStringLiteral("skin/SetBack.bmp"), &window, 616, 8);
    parts.Button("main_close.bmp", settings, 10093, 313, 0);
    Check(settings, QStringLiteral("   任务栏图标闪动"), 43, 73, true);
    Check(settings, QStringLiteral("   声音提醒"), 43, 116, true);
    Check(settings, QStringLiteral("   开机自动运行鹭眸"), 43, 216, false);
    Check(settings, QStringLiteral("   开启老板键"), 43, 259, true);
    Check(settings, QStringLiteral("   启动软件时自动登录"), 43, 302, false);
    parts.Label(settings, QRect(150, 261, 100, 74), QStringLiteral("Alt+F10"),
                QColor(153, 153, 153));
    auto* sounds = new CNewBitComboBox;
    sounds->Create(CNewBitComboBox::DropDownList, QRect(145, 116, 122, 275), settings, 10090);
    sounds->SetComboImages(QStringLiteral("skin/l.bmp"), QStringLiteral("skin/r.bmp"),
                           QStringLiteral("skin/c.bmp"));
    sounds->SetItemHeight(20);
    sounds->addItems({QStringLiteral(" .提示音一"), QStringLiteral(" .提示音二"),
                      QStringLiteral(" .提示音三"), QStringLiteral(" .提示音四")});
    parts.Button("ok.bmp", settings, 10091, 189, 357);
    parts.Button("cancel.bmp", settings, 10092, 261, 357);

    // About box, alert pop-up, ticker.
    auto* about = new SkinPanel(QStringLiteral("skin/aboutus.bmp"), &window, 987, 8);
    parts.Button("pa.bmp", about, 20115, 160, 116);
    parts.Button("ok.bmp", about, 20114, 265, 213);
    parts.Link(about, QRect(60, 142, 222, 18), QStringLiteral("kefu@meridex.example"),
               QStringLiteral("mailto:kefu@meridex.example"));
    parts.Link(about, QRect(155, 163, 145, 17), QStringLiteral("http://127.0.0.1:8080"),
               QStringLiteral("http://127.0.0.1:8080"));
    parts.Link(about, QRect(115, 195, 63, 15), QStringLiteral("iPhone版"),
               QStringLiteral("http://127.0.0.1:8080/about/iphone.html"));
    parts.Link(about, QRect(210, 195, 70, 15), QStringLiteral("Android版"),
               QStringLiteral("http://127.0.0.1:8080/about/android.html"));

    auto* popup = new SkinPanel(QStringLiteral("skin/WarnTipback.bmp"), &window, 987, 280);
    popup->resize(201, 117);
    parts.Button("main_close.bmp", popup, 10130, 155, 0);
    parts.Label(popup, QRect(18, 8, 152, 16), QStringLiteral("2026-12-11   10:32"), Qt::white);
    parts.Label(popup, QRect(18, 42, 60, 16), QStringLiteral("贵州茅台"), Qt::black)
        .SetFaceName(QStringLiteral("Noto Sans CJK SC Bold"));
    parts.Label(popup, QRect(73, 42, 120, 16), QStringLiteral("达到预警条件："), Qt::black);
    parts.Label(popup, QRect(18, 66, 160, 16), QStringLiteral("价格达到：1712.50"), Qt::black);

    auto* ticker = new SkinPanel(QStringLiteral("skin/Suspendback.bmp"), &window, 987, 410);
    parts.Label(ticker, QRect(7, 5, 68, 16), QStringLiteral("贵州茅台"), Qt::black, 12,
                CFontCtrl::Centre);
    parts.Label(ticker, QRect(85, 5, 65, 16), QStringLiteral("1712.50"), QColor(255, 0, 0), 12,
                CFontCtrl::Centre);
    auto* up = new SkinPanel(QStringLiteral("skin/up.bmp"), ticker, 152, 0);
    up->show();
    parts.Label(ticker, QRect(165, 5, 58, 16), QStringLiteral("+2.35%"), QColor(255, 0, 0), 12,
                CFontCtrl::Centre);

    auto* side = new SkinPanel(QStringLiteral("skin/Updatebk.bmp"), &window, 1236, 280);
    parts.Button("3.bmp", &window, 10101, 1140, 450);
    parts.Button("1.bmp", &window, 10102, 1140, 484);
    (void)side;

    window.show();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--shot")) {
        const QString file = args[2];
        QTimer::singleShot(600, &window, [&, sounds] {
            sounds->showPopup();
            QTimer::singleShot(600, &window, [&] {
                const QRect area = window.frameGeometry();
                QGuiApplication::primaryScreen()
                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(file);
                app.quit();
            });
        });
    }
    return app.exec();
}
