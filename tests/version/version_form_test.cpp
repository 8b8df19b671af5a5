#include "tests/platform/window_parts.h"
#include "version/fonts.h"
#include "version/version_block.h"
#include "version/version_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWindow>

using namespace telvara;

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "version_form_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
        installFontSubstitutions();
    }
    void TearDown() override { delete app_; }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A label of the dialog by its design name.
QLabel* label(const TVersionForm& form, const char* name) {
    return test::partOf<QLabel>(&form, name);
}

} // namespace

TEST(VersionForm, HasTheDesignedWindowAndTexts) {
    TVersionForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(form.size(), QSize(298, 213));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()); // fixed border
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(form.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form.font().pixelSize(), 12);

    QFrame* panel = test::partOf<QFrame>(&form, "Panel1");
    EXPECT_EQ(panel->size(), QSize(281, 201));
    EXPECT_TRUE(panel->font().bold());
    EXPECT_TRUE(panel->font().italic());
    EXPECT_EQ(panel->font().pixelSize(), 16);
    EXPECT_EQ(label(form, "ProgramIcon")->size(), QSize(100, 100));
    EXPECT_TRUE(label(form, "ProgramIcon")->hasScaledContents());
    EXPECT_FALSE(label(form, "ProgramIcon")->pixmap().isNull());
    EXPECT_EQ(label(form, "Producer")->text(), QStringLiteral("Producer"));
    EXPECT_EQ(label(form, "Label1")->text(), QStringLiteral("Telvara Project"));
    EXPECT_EQ(label(form, "Version")->text(), QStringLiteral("Version"));
    EXPECT_EQ(label(form, "Comments")->text(), QStringLiteral("ｺﾒﾝﾄ"));
    EXPECT_TRUE(label(form, "Comments")->wordWrap());
    EXPECT_TRUE(label(form, "Copyright")->text().contains(QStringLiteral("Telvara Project")));
    EXPECT_TRUE(label(form, "Label2")->text().contains(QStringLiteral("Telvara Project")));
    EXPECT_EQ(label(form, "Label2")->font().pixelSize(), 11);
    EXPECT_EQ(label(form, "Label3")->font().pixelSize(), 11);
    EXPECT_FALSE(label(form, "Label3")->font().italic());
    EXPECT_TRUE(label(form, "VerLbl")->font().italic()); // the panel's font
    for (QLabel* l : panel->findChildren<QLabel*>())
        EXPECT_TRUE(panel->rect().contains(l->geometry())) << l->objectName().toStdString();
}

TEST(VersionForm, CreationShowsTheProgramFileAndItsVersion) {
    TVersionForm form;
    const std::string self = GetModuleName();
    const std::string base = self.substr(self.find_last_of('/') + 1);
    EXPECT_EQ(label(form, "FileNameLbl")->text().toStdString(), base);
    EXPECT_EQ(base, "version_form_tests");
    EXPECT_EQ(label(form, "VerLbl")->text(), QStringLiteral(PROJECT_VERSION));

    TVersionForm other;
    other.FillIdentity("/bin/true"); // a file without a block
    EXPECT_EQ(label(other, "FileNameLbl")->text(), QStringLiteral("true"));
    EXPECT_EQ(label(other, "VerLbl")->text(), QStringLiteral("バージョン情報なし"));
}

TEST(VersionForm, EmptyProgramPathKeepsTheDesignTexts) {
    TVersionForm form;
    label(form, "FileNameLbl")->setText(QStringLiteral("FileName"));
    label(form, "VerLbl")->setText(QStringLiteral("No"));
    form.FillIdentity("");
    EXPECT_EQ(label(form, "FileNameLbl")->text(), QStringLiteral("FileName"));
    EXPECT_EQ(label(form, "VerLbl")->text(), QStringLiteral("No"));
}

TEST(VersionForm, SplashGoesAwayForGoodWhenAnotherWindowIsActivated) {
    QPointer<TVersionForm> splash = ShowSplash();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(splash->Released());

    // What the splash looks like right after the activation moved, before
    // control is back in the event loop.
    bool seen = false, aliveThen = false, releasedThen = false, visibleThen = true;
    QWidget next;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &next, [&](QWindow* w) {
        if (seen || w != next.windowHandle())
            return;
        seen = true;
        aliveThen = !splash.isNull();
        releasedThen = aliveThen && splash->Released();
        visibleThen = aliveThen && splash->isVisible();
        if (aliveThen) {
            splash->show(); // never shown again
            visibleThen = visibleThen || splash->isVisible();
        }
    });
    next.resize(200, 100);
    next.show();
    next.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&next));
    ASSERT_TRUE(seen);
    EXPECT_TRUE(aliveThen);
    EXPECT_TRUE(releasedThen);
    EXPECT_FALSE(visibleThen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST(VersionForm, SplashStaysWhileItKeepsTheActivation) {
    QPointer<TVersionForm> splash = ShowSplash();
    splash->activateWindow();
    QTest::qWait(20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(splash);
    EXPECT_FALSE(splash->Released());
    EXPECT_TRUE(splash->isVisible());
    delete splash.data();
}

TEST(Fonts, DesignNamesMapToTheIpaFonts) {
    // Qt keeps substitutes in lower case.
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐ明朝")), QStringLiteral("ipapmincho"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ 明朝")), QStringLiteral("ipamincho"));
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("IPAPGothic"));
}
