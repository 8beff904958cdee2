#include "mainform.h"

#include "appsettings.h"
#include "commandtable.h"
#include "cores.h"
#include "dmainui.h"
#include "dsetting.h"
#include "dshortui.h"
#include "globals.h"
#include "languages.h"
#include "sessionend.h"
#include "textfit.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "board/dwidget.h"
#include "content/dresources.h"
#include "content/dtabledlg.h"
#include "board/scribblearea.h"
#include "document/dpageslist.h"
#include "document/dsavepages.h"
#include "document/toolrun.h"
#include "palettes/widgetclassicselector.h"
#include "palettes/widgeteraserselector.h"
#include "palettes/widgetmenuselector.h"
#include "palettes/widgetmmiselector.h"
#include "palettes/widgetpageselector.h"
#include "palettes/widgetpenselector.h"
#include "palettes/widgetshapeselector.h"
#include "palettes/widgettoolselector.h"
#include "pictures/picturedecoders.h"
#include "sharing/dsharescreen.h"
#include "tools/dscreenphoto.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QThreadPool>
#include <QTimer>

#include <utility>

namespace {

// Commands 7 to 11, in their order.
constexpr const char *kExportFormats[] = { "bmp", "jpg", "png", "tiff", "pdf" };

// How long the end of a session may take, an open or a save under way let finish first: a
// session manager waits for a while before it kills what is left, and the work must be on disk
// by then. Beyond it the program ends without writing, the last autosave kept.
constexpr int kSessionEndMs = 20000;
// How long the processes the program started have to end on their own, once the document is
// written.
constexpr int kChildrenGraceMs = 1000;
constexpr int kBusyPollMs = 50;

} // namespace

MainForm::MainForm(QWidget *parent, Qt::WindowFlags flags) : QMainWindow(parent, flags)
{
    // The shared threads (pictures read and written, texts checked) number the cores this
    // process may use, not the machine's: more would only take turns with the board's thread.
    QThreadPool::globalInstance()->setMaxThreadCount(Cores::usable());
    // Pictures are decoded in processes of their own, a lesson's by several at once: they are
    // ready before the first picture or lesson is asked for. Started while a lesson opens, they
    // took the processors the open had.
    PictureDecoders::instance().startAheadBeside(PictureDecoders::kMostProcesses);
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MainFormClass"));
    resize(978, 741);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QString());
    m_central = new QWidget(this);
    m_central->setObjectName(QStringLiteral("centralWidget"));
    m_central->setStyleSheet(QString());
    setCentralWidget(m_central);
    setWindowTitle(QCoreApplication::translate("MainFormClass", "Veltorisa"));

    // The given flags are replaced: the board is always a frameless full-screen surface.
    setWindowFlags(Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    // Without a window manager the full-screen request is not honoured; the explicit geometry is.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    showFullScreen();

    // A stored value outside the list (a damaged or foreign file) reads as Spanish.
    changeLng(AppSettings::language(settings), false);
    // Every form shown from now on makes its texts fit (translations are longer than Spanish).
    TextFit::installForApplication();

    m_pagesList = new DPagesList(m_central);
    m_savePages = new DSavePages(m_pagesList);
    connect(m_savePages, &DSavePages::savePage, m_pagesList, &DPagesList::autoSaveInSteps);
    m_savePages->start();

    setUI();
    connect(m_pagesList, QOverload<>::of(&DPagesList::newPage), m_resources,
            &DResources::updatePagesList);
    connect(m_pagesList, &DPagesList::pagePicturesCame, m_resources,
            &DResources::updatePagesList);
    // A palette left open would stand over the board for the whole open with its buttons dead:
    // it goes, as after any command.
    connect(m_pagesList, &DPagesList::openStarted, m_mainUi, &DMainUi::closeAllMenu);
    // An exit asked for while a document was being opened comes once it is there.
    connect(m_pagesList, &DPagesList::openEnded, this, [this]() {
        if (std::exchange(m_exitAfterOpen, false))
            QTimer::singleShot(0, this, &MainForm::exitApp);
    });
    m_setting = new DSetting(m_central);
}

MainForm::~MainForm()
{
    // The share window deletes itself on close, but only from the event loop: delete it here
    // so its server and port are certainly released.
    delete m_share.data();
    delete m_shortUi;
    delete m_mainUi;
    delete m_resources;
    if (m_savePages) {
        m_savePages->stop();
        delete m_savePages;
    }
    delete m_pagesList;
    QCoreApplication::removeTranslator(&m_translator);
    QCoreApplication::removeTranslator(&m_toolkitTranslator);
}

void MainForm::setUI()
{
    m_resources = new DResources(height(), this, m_pagesList);
    m_resources->hide();
    m_resources->raise();
    connect(m_resources, &DResources::pressImage, this, &MainForm::dropImage);
    connect(m_resources, &DResources::pressText, this, &MainForm::dropText);

    m_mainUi = new DMainUi(this);
    m_mainUi->setCursor(Qt::PointingHandCursor);

    m_shortUi = new DShortUi(this);
    m_shortUi->setParent(nullptr); // its own top-level window over the desktop

    uiMainBt(BtMenus::btSelect);

    const QList<QWidget *> reparented = {
        m_mainUi->penSelector(),   m_mainUi->eraserSelector(), m_mainUi->menuSelector(),
        m_mainUi->shapeSelector(), m_mainUi->mmiSelector(),    m_mainUi->toolSelector(),
        m_mainUi->pageSelector(),
    };
    for (QWidget *palette : reparented) {
        if (palette)
            palette->setParent(this, palette->windowFlags());
    }
    connectPalettes();
    showPageCounter();
}

void MainForm::connectPalettes()
{
    DView *view = m_pagesList->getView();
    connect(view->m_tableDlg, &DTableDlg::cancel, this, &MainForm::uiMainBt);
    connect(m_mainUi, &DMainUi::colorClicked, this, &MainForm::uiColorMultiUser);

    WidgetMenuSelector *menu = m_mainUi->menuSelector();
    connect(menu, &WidgetMenuSelector::buttonClicked, this, &MainForm::uiMainBt);
    connect(m_mainUi->eraserSelector(), &WidgetEraserSelector::buttonClicked, this,
            &MainForm::uiMainBt);

    WidgetPenSelector *pen = m_mainUi->penSelector();
    connect(pen, &WidgetPenSelector::buttonClicked, this, &MainForm::uiMainBt);
    connect(pen, &WidgetPenSelector::widthClicked, view, [view](int w) { view->setPenWidth(w); });
    connect(pen, &WidgetPenSelector::colorClicked, view,
            [view](const QColor &c) { view->setPenColour(c); });
    connect(pen, &WidgetPenSelector::styleClicked, view,
            [view](Qt::PenStyle s) { view->setPenStyle(s); });

    WidgetShapeSelector *shape = m_mainUi->shapeSelector();
    connect(shape, &WidgetShapeSelector::buttonClicked, this, &MainForm::uiMainBt);
    connect(shape, &WidgetShapeSelector::widthShpClicked, view, &DView::setShapePenWidth);
    connect(shape, &WidgetShapeSelector::colorShpClicked, view, &DView::setShapePenColour);
    connect(shape, &WidgetShapeSelector::colorShpFillClicked, view, &DView::setShapeFillPenColour);
    connect(shape, &WidgetShapeSelector::styleShpClicked, view, &DView::setShapePenStyle);

    connect(m_mainUi->mmiSelector(), &WidgetMMISelector::buttonClicked, this, &MainForm::uiMainBt);
    connect(m_mainUi->toolSelector(), &WidgetToolSelector::buttonClicked, this,
            &MainForm::uiMainBt);

    WidgetPageSelector *page = m_mainUi->pageSelector();
    connect(page, &WidgetPageSelector::buttonClicked, this, &MainForm::uiMainBt);
    connect(page, &WidgetPageSelector::colorClicked, this, &MainForm::changeBckColor);

    WidgetClassicSelector *classic = m_mainUi->classicSelector();
    connect(classic, &WidgetClassicSelector::colorClicked, view,
            [view](const QColor &c) { view->setPenColour(c); });
    connect(classic, &WidgetClassicSelector::shapeClicked, view, &DView::setShapePenColour);
    connect(classic, &WidgetClassicSelector::widthClicked, view,
            [view](int w) { view->setPenWidth(w); });
    connect(classic, &WidgetClassicSelector::shapeWidthClicked, view, &DView::setShapePenWidth);
    connect(classic, &WidgetClassicSelector::styleClicked, view,
            [view](Qt::PenStyle s) { view->setPenStyle(s); });
    connect(classic, &WidgetClassicSelector::shapeStyleClicked, view, &DView::setShapePenStyle);
    connect(classic, &WidgetClassicSelector::bckClicked, this, &MainForm::changeBckColor);

    connect(m_shortUi, &DShortUi::buttonClicked, this, &MainForm::uiMainBt);
    connect(m_pagesList, &DPagesList::selectPageNum, m_mainUi, &DMainUi::setNumPage);
    connect(view, &DView::zoomPage, page, &WidgetPageSelector::updateExample);
    connect(m_mainUi, &DMainUi::buttonClicked, this, &MainForm::uiMainBt);
    connect(m_shortUi, &DShortUi::showVeltorina, this, &MainForm::showVeltorina);
    connect(m_shortUi, &DShortUi::transparentPage, this, &MainForm::transparentPageIfNotExist);
    connect(view, &DView::signals_touchEvent, this, &MainForm::updatePensMenu);
    connect(view, &DView::toolChanged, this, [this] {
        if (isVisible())
            updatePensMenu();
    });
    connect(view, &DView::signals_touchEvent, m_mainUi, &DMainUi::closeAllMenu);
    connect(view->m_scribbleArea, &ScribbleArea::signals_touchEvent, m_mainUi,
            &DMainUi::closeAllMenu);
}

void MainForm::showPageCounter()
{
    m_mainUi->setNumPage(QStringLiteral("%1 / %2")
                                 .arg(m_pagesList->getCurPageNum())
                                 .arg(m_pagesList->size()));
}


void MainForm::refreshGallery()
{
    m_resources->updatePagesList();
    m_resources->raise(); // the page list raises the view when it shows a page
}

void MainForm::hideGallery()
{
    m_resources->hide();
}

void MainForm::toggleGallery()
{
    m_resources->setVisible(!m_resources->isVisible());
    m_resources->raise();
}

void MainForm::updatePensMenu()
{
    const DView *view = m_pagesList->getView();
    const auto tool = BtMenus::btType(view->getPenType(0));
    m_mainUi->updatePen(tool, view->getPen(0), view->getPen(1), view->getPen(2), view->getPen(3),
                        view->getShapePen(), view->getBrush());
    m_shortUi->updatePen(tool);
}

void MainForm::applyPenCommand(btType bt)
{
    DView *view = m_pagesList->getView();
    if (const CommandTable::PenRow *row = CommandTable::penRow(bt)) {
        view->setPenType(bt, row->alpha, QLatin1String(row->cursor), row->user);
        return;
    }
    switch (bt) {
    case BtMenus::btPencilUser1: {
        // Entering multi-user mode gives user 3 its blue; pressing user 1's pencil again later
        // must not take away the colour user 3 chose since.
        const bool entering = !view->m_bMultiUser;
        view->m_bMultiUser = true;
        view->m_eraserTrail->setVista(true);
        view->setPenType(bt, 255, QLatin1String(CommandTable::kPenCursor), PenUser1);
        if (entering)
            view->setPenColour(QColor(0, 0, 255, 255), PenUser3);
        break;
    }
    case BtMenus::btTextureBrush:
        view->setBrushType(bt, QLatin1String(CommandTable::kTexture),
                           QLatin1String(CommandTable::kPenCursor));
        break;
    case BtMenus::btBrushPen:
        view->setBrushType(bt, QLatin1String(CommandTable::kTexture),
                           QLatin1String(CommandTable::kBrushCursor));
        break;
    case BtMenus::btEraserUser1:
    case BtMenus::btEraserUser3: {
        const int user = bt == BtMenus::btEraserUser1 ? PenUser1 : PenUser3;
        view->setEraser(bt, user);
        view->setPenType(bt, 100, QLatin1String(CommandTable::kEraserCursor), user);
        break;
    }
    case BtMenus::btTableTool:
        view->editSetTableDlg();
        break;
    default:
        break;
    }
}

void MainForm::uiMainBt(btType bt)
{
    DView *view = m_pagesList->getView();
    DPage *page = m_pagesList->getCurPage();
    switch (bt) {
    case BtMenus::btBitmapEraser:
        view->setEraser(bt, PenUserMain);
        break;
    case BtMenus::btObjectEraser:
        view->setPenType(bt, 100, QLatin1String(CommandTable::kEraserCursor), PenUser1);
        view->setEraser(bt, PenUserMain);
        break;
    case BtMenus::btNewFile:
        m_pagesList->newFile();
        break;
    case BtMenus::btOpenFile:
        m_pagesList->openFile();
        break;
    case BtMenus::btSaveFile:
        m_pagesList->saveFile(QStringLiteral("iwb"), false);
        break;
    case BtMenus::btSaveAsFile:
        m_pagesList->saveAsFile(QStringLiteral("iwb"));
        break;
    case BtMenus::btMultiUser:
        view->showBin();
        break;
    case BtMenus::btBmpFile:
    case BtMenus::btJpgFile:
    case BtMenus::btPngFile:
    case BtMenus::btTiffFile:
    case BtMenus::btPdfFile:
        m_pagesList->saveAsFile(QLatin1String(kExportFormats[bt - BtMenus::btBmpFile]));
        break;
    case BtMenus::btEnglish:
        changeLng(BtMenus::lngEnglish, true);
        break;
    case BtMenus::btSpanish:
        changeLng(BtMenus::lngSpanish, true);
        break;
    case BtMenus::btRussian:
        changeLng(BtMenus::lngRussian, true);
        break;
    case BtMenus::btPortuguese:
        changeLng(BtMenus::lngPortuguese, true);
        break;
    case BtMenus::btFrench:
        changeLng(BtMenus::lngFrench, true);
        break;
    case BtMenus::btGerman:
        changeLng(BtMenus::lngGerman, true);
        break;
    case BtMenus::btSettings:
        setSettings();
        break;
    case BtMenus::btHelp:
        help();
        break;
    case BtMenus::btExit:
        exitApp();
        return; // the window is gone: nothing to refresh
    case BtMenus::btText:
        view->insertText();
        break;
    case BtMenus::btTable:
        view->editSetTableDlg();
        break;
    case BtMenus::btCapture:
        insertCapture();
        break;
    case BtMenus::btClock:
        view->insertClock();
        break;
    case BtMenus::btShare:
        showShareScreen();
        break;
    case BtMenus::btColorPage:
    case BtMenus::btImagePage:
    case BtMenus::btTransparentPage:
        m_pagesList->newPage(bt, false);
        break;
    case BtMenus::btCapturePage:
        hide(); // the grab must show the desktop, not the board
        QTimer::singleShot(200, this, &MainForm::newCapturePage);
        break;
    case BtMenus::btDeletePage:
        if (confirmDeletePage()) {
            m_pagesList->delPage(true);
            showPageCounter();
            refreshGallery();
        }
        break;
    case BtMenus::btDesktop:
        setDesktopMode();
        break;
    case BtMenus::btExpandRes:
        view->setSelect();
        toggleGallery();
        break;
    case BtMenus::btSelect:
        view->m_bMultiUser = false;
        view->setSelect();
        break;
    case BtMenus::btPreviousPage:
        m_pagesList->pageUp();
        break;
    case BtMenus::btNextPage:
        m_pagesList->pageDown();
        break;
    default:
        if (BtMenus::isPenKind(bt) || bt == BtMenus::btTableTool)
            applyPenCommand(bt);
        else if (BtMenus::isShapeKind(bt))
            view->setShapeType(bt);
        else if (page)
            dispatchPageCommand(bt);
        break;
    }

    const unsigned after = CommandTable::afterCommand(bt);
    if (after & CommandTable::HideGallery)
        hideGallery();
    if (after & CommandTable::Label)
        showPageCounter();
    if (after & CommandTable::Gallery)
        refreshGallery();
    if (isVisible())
        updatePensMenu();
}

namespace {

// Commands carried out by the current page alone, with no argument.
struct PageCommand
{
    int command;
    void (DPage::*action)();
};

// clang-format off
constexpr PageCommand kPageCommands[] = {
    { BtMenus::btVideo,         &DPage::insertVideo },
    { BtMenus::btFlash,         &DPage::insertFlash },
    { BtMenus::btSound,         &DPage::insertSound },
    { BtMenus::btActivities,    &DPage::insertActivities },
    { BtMenus::btBrowser,       &DPage::insertBrowser },
    { BtMenus::btCalculator,    &DPage::insertCalculator },
    { BtMenus::btCompass,       &DPage::insertCompass },
    { BtMenus::btCurtain,       &DPage::insertCurtain },
    { BtMenus::btDice,          &DPage::insertDice },
    { BtMenus::btKeyboard,      &DPage::insertKeyboard },
    { BtMenus::btMagnifier,     &DPage::insertMagnifier },
    { BtMenus::btPlayRecorder,  &DPage::playRecorder },
    { BtMenus::btProtractor,    &DPage::insertPortractor },
    { BtMenus::btRecorder,      &DPage::insertRecorder },
    { BtMenus::btRuler,         &DPage::insertRuler },
    { BtMenus::btSearchLight,   &DPage::insertSearchLight },
    { BtMenus::btTriangleRuler, &DPage::insertTriangleRuler },
    { BtMenus::btVideoCamera,   &DPage::insertVideoCamera },
    { BtMenus::btDragPage,      &DPage::dragPage },
    { BtMenus::btMoveBackPage,  &DPage::moveBackPage },
    { BtMenus::btCleanPage,     &DPage::clearPage },
    { BtMenus::btUndo,          &DPage::setUndo },
    { BtMenus::btRedo,          &DPage::setRedo },
};
// clang-format on

} // namespace

bool MainForm::dispatchPageCommand(btType bt)
{
    DPage *page = m_pagesList->getCurPage();
    for (const PageCommand &row : kPageCommands) {
        if (row.command == bt) {
            (page->*row.action)();
            return true;
        }
    }
    switch (bt) {
    case BtMenus::btImage:
        page->insertImage(false);
        return true;
    case BtMenus::btPdf:
        page->insertImage(true); // every page of a PDF file, as pictures
        return true;
    case BtMenus::btZoomIn:
        page->zoomPage(1.1f);
        return true;
    case BtMenus::btZoomOut:
        page->zoomPage(0.90909094f); // the single-precision value nearest 1/1.1
        return true;
    default:
        return false;
    }
}

bool MainForm::confirmDeletePage()
{
    QMessageBox question(QMessageBox::Warning, tr("Atención"), tr("Desea eliminar la página"));
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::YesRole);
    QPushButton *no = question.addButton(tr("No"), QMessageBox::NoRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no); // Escape keeps the page and what is on it
    question.exec();
    return question.clickedButton() == yes;
}

void MainForm::showShareScreen()
{
    if (!m_share) {
        m_share = new DShareScreen(nullptr);
        connect(m_share, &DShareScreen::deleteWidget, this, &MainForm::destroyShare);
    }
    // Once the teacher has touched the full-screen board, the window lies behind it: the
    // command brings it to the front again, so the code can be shown and the sharing stopped.
    if (m_share->isMinimized())
        m_share->showNormal();
    else
        m_share->show();
    m_share->raise();
    m_share->activateWindow();
}

void MainForm::uiColorMultiUser(QColor c, btType bt)
{
    DView *view = m_pagesList->getView();
    switch (bt) {
    case BtMenus::btPencilUser1:
    case BtMenus::btPencilUser2:
    case BtMenus::btPencilUser3:
        view->m_penPencil[bt - BtMenus::btPencil].setColor(c);
        break;
    case BtMenus::btHighlighterUser1:
    case BtMenus::btHighlighterUser2:
    case BtMenus::btHighlighterUser3:
        c.setAlpha(100); // highlighter ink lets the writing under it show through
        view->m_penHighlighter[bt - BtMenus::btHighlighter].setColor(c);
        break;
    case BtMenus::btFountainPenUser1:
    case BtMenus::btFountainPenUser2:
    case BtMenus::btFountainPenUser3:
        view->m_penFountain[bt - BtMenus::btFountainPen].setColor(c);
        break;
    default:
        break;
    }
}

void MainForm::changeBckColor(QColor color)
{
    m_pagesList->getView()->setBackgroundColor(color);
    refreshGallery();
}

void MainForm::destroyShare()
{
    m_share = nullptr;
}

void MainForm::dropImage(QString str)
{
    if (DPage *page = m_pagesList->getCurPage())
        page->insertPixmap(str);
    if (isVisible())
        updatePensMenu();
}

void MainForm::dropText(QString str)
{
    if (DPage *page = m_pagesList->getCurPage())
        page->insertText(str);
    if (isVisible())
        updatePensMenu();
}

void MainForm::insertCapture()
{
    if (!m_screenPhoto) {
        m_screenPhoto = new DScreenPhoto(nullptr);
        connect(m_screenPhoto, &DScreenPhoto::close, this, &QWidget::showFullScreen);
        // The region goes to the page that is current when it is taken, not when the tool
        // was first opened.
        connect(m_screenPhoto, &DScreenPhoto::releasePx, this,
                [this](const QPixmap &pixmap, QPoint point) {
                    if (DPage *page = m_pagesList->getCurPage())
                        page->insertPxFromCapture(pixmap, point);
                });
    }
    m_screenPhoto->show();
    m_screenPhoto->raise();
    hide();
}

void MainForm::transparentPageIfNotExist()
{
    const DPage *page = m_pagesList->getCurPage();
    if (page && page->pageType() == PageTypeTransparent)
        return;
    m_pagesList->newPage(BtMenus::btTransparentPage, false);
    // As the page palette's transparent page: the counter and the thumbnails take it in.
    showPageCounter();
    refreshGallery();
}

void MainForm::newCapturePage()
{
    m_pagesList->newPage(BtMenus::btCapturePage, false);
    showFullScreen();
    showPageCounter();
    uiMainBt(BtMenus::btType(m_pagesList->getView()->getPenType(0)));
    refreshGallery();
}

void MainForm::changeLng(eLanguageMode lng, bool alert)
{
    AppSettings::setLanguage(settings, lng);
    if (alert) {
        QMessageBox::information(nullptr, tr("Atención"),
                                 tr("Debe reiniciar Veltorina para que los cambios surtan "
                                    "efecto"));
        return;
    }
    qDebug() << "Idioma: " << int(lng);
    Languages::install(lng, m_translator, m_toolkitTranslator);
}

void MainForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(QCoreApplication::translate("MainFormClass", "Veltorisa"));
    QMainWindow::changeEvent(event);
}

void MainForm::setDesktopMode()
{
    const bool shown = isVisible();
    const int mode = m_mainUi->getMode();
    if (shown && mode == BtMenus::dmBoard) {
        m_mainUi->setMode(BtMenus::dmDesktop);
        m_shortUi->setMode(BtMenus::dmDesktop);
        m_shortUi->changeVeltorinaIco(QStringLiteral(":/Icon/bCenter.png"),
                                      QStringLiteral("Veltorina"));
        hide();
    } else if (!shown && mode == BtMenus::dmDesktop) {
        m_mainUi->setMode(BtMenus::dmBoard);
        m_shortUi->setMode(BtMenus::dmBoard);
        m_shortUi->changeVeltorinaIco(QStringLiteral(":/Icon/LogoToolbar.png"), tr("Escritorio"));
        showFullScreen();
        setFocus();
    } else if (shown && mode == BtMenus::dmDesktop) {
        m_mainUi->setMode(BtMenus::dmDesktop);
        m_shortUi->setParent(nullptr, m_shortUi->windowFlags() & ~Qt::WindowType_Mask);
        m_shortUi->setMode(BtMenus::dmDesktop);
        m_shortUi->changeVeltorinaIco(QStringLiteral(":/Icon/bCenter.png"),
                                      QStringLiteral("Veltorina"));
        hide();
    }
    m_pagesList->getView()->m_bRefreshOverlay = true;
}

void MainForm::showVeltorina()
{
    m_mainUi->setMode(BtMenus::dmDesktop);
    m_shortUi->setMode(BtMenus::dmDesktop);
    m_shortUi->changeVeltorinaIco(QStringLiteral(":/Icon/LogoToolbar.png"), tr("Escritorio"));
    m_shortUi->setParent(this, m_shortUi->windowFlags() & ~Qt::WindowType_Mask);
    m_shortUi->show();
    showFullScreen();
    setFocus();
}

void MainForm::keyPressEvent(QKeyEvent *event)
{
    DPage *page = m_pagesList->getCurPage();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Comma:
            if (page)
                page->rotateObj(5);
            break;
        case Qt::Key_Period:
            if (page)
                page->rotateObj(-5);
            break;
        case Qt::Key_C:
            if (page)
                page->copyObj();
            break;
        case Qt::Key_V:
            if (page)
                page->pasteObj();
            break;
        case Qt::Key_O:
            m_pagesList->openFile(); // unlike the menu command, no page counter refresh
            break;
        case Qt::Key_S:
            m_pagesList->saveFile(QStringLiteral("iwb"), false);
            break;
        case Qt::Key_X:
            if (page)
                page->cutObj();
            break;
        case Qt::Key_Y:
            uiMainBt(BtMenus::btRedo);
            break;
        case Qt::Key_Z:
            uiMainBt(BtMenus::btUndo);
            break;
        default:
            break;
        }
    } else if (modifiers == Qt::NoModifier
               && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        if (page)
            page->deleteObj();
    }
}

void MainForm::help()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QSettings config(appDir + QStringLiteral("/Sys/Config.ini"), QSettings::IniFormat);
    const QString language = config.value(QStringLiteral("System/CurrentLanguage")).toString();
    const QString file = appDir + QStringLiteral("/Sys/help_") + language + QStringLiteral(".pdf");
    if (!QFileInfo(file).isFile()) {
        QMessageBox::warning(nullptr, tr("Atención"), tr("No se encuentra el archivo de ayuda"));
        return;
    }
    // Detached: a viewer that stays open must not freeze the board.
    const ToolRun started = startToolDetached(QStringLiteral("xdg-open"), { file }, appDir);
    if (!started.ok)
        QMessageBox::warning(nullptr, tr("Atención"), tr("No se puede abrir la ayuda"));
}

void MainForm::setSettings()
{
    m_setting->exec();
}

void MainForm::exitApp()
{
    // The session's end writes the work itself: nobody is there to answer the save question.
    if (m_sessionEnding)
        return;
    // A document half opened can be neither saved nor left: the exit waits for it.
    if (m_pagesList->isOpening()) {
        m_exitAfterOpen = true;
        return;
    }
    // Offers to save unsaved work; cancelling that, or a save that failed, keeps the program
    // running with nothing lost.
    if (!m_pagesList->saveFile(QStringLiteral("iwb"), true)) {
        setFocus();
        return;
    }
    m_bExiting = true;
    m_savePages->stop();
    m_pagesList->exit();
    settings.sync();
    showFullScreen();
    close();
    QCoreApplication::exit(0);
}

void MainForm::endSession(int signal)
{
    // A clean exit has removed the working directory and ends the program anyway: written now,
    // the document would come back at the next start.
    if (m_bExiting)
        return;
    if (!std::exchange(m_sessionEnding, true)) {
        SessionEnd::endWithin(signal, kSessionEndMs);
        m_savePages->stop();
    }
    // A document half opened cannot be written, and a save writes the working directory: either
    // is let finish, then the document is written as it stands.
    if (m_pagesList->isOpening() || m_pagesList->isSaving()) {
        QTimer::singleShot(kBusyPollMs, this, [this, signal] { endSession(signal); });
        return;
    }
    // Written at once, the text on another thread waited for; nothing written when the
    // document is as the working directory already holds it.
    m_pagesList->autoSave();
    settings.sync();
    SessionEnd::endChildren(kChildrenGraceMs);
    SessionEnd::endBy(signal);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    // A close from the window manager goes the same way as the exit command, so unsaved work
    // is offered for saving and the working directory is cleaned up.
    // Deferred: a close() made while this close is under way would be ignored.
    if (!m_bExiting) {
        event->ignore();
        QTimer::singleShot(0, this, &MainForm::exitApp);
        return;
    }
    QMainWindow::closeEvent(event);
}
