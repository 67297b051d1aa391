// Where controls end up: the page a page control shows after a form is read
// or built, and how anchored controls follow their parent's size.

#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/FormReader.h"

#include <QApplication>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ")";
}

namespace {

std::unique_ptr<TForm> readForm(const QString& text)
{
    return std::unique_ptr<TForm>(qobject_cast<TForm*>(CreateFromText(text)));
}

// Three sheets, the middle one without a tab; activePage names the sheet
// the description makes active (empty: none).
QString pagesForm(const QString& activePage)
{
    QString text = QStringLiteral("object frmPages: TForm\n"
                                  "  ClientWidth = 400\n"
                                  "  ClientHeight = 300\n"
                                  "  object pcMain: TPageControl\n"
                                  "    Left = 8\n"
                                  "    Top = 8\n"
                                  "    Width = 300\n"
                                  "    Height = 200\n");
    if (!activePage.isEmpty())
        text += QStringLiteral("    ActivePage = %1\n").arg(activePage);
    text += QStringLiteral("    object tsOption1: TTabSheet\n"
                           "      Caption = 'One'\n"
                           "    end\n"
                           "    object tsHidden: TTabSheet\n"
                           "      Caption = 'Hidden'\n"
                           "      TabVisible = False\n"
                           "    end\n"
                           "    object tsOption2: TTabSheet\n"
                           "      Caption = 'Two'\n"
                           "    end\n"
                           "  end\n"
                           "end\n");
    return text;
}

QWidget* currentSheetWidget(TPageControl* pages)
{
    return static_cast<QTabWidget*>(pages->Widget())->currentWidget();
}

} // namespace

// The page the description names is the one shown once the window exists,
// and building the window is no page change of the user's.
TEST(PageControlLoadTest, NamedPageSurvivesReadingAndTheWindow)
{
    std::unique_ptr<TForm> form = readForm(pagesForm("tsOption2"));
    ASSERT_TRUE(form);
    auto* pages = form->FindComponent<TPageControl>("pcMain");
    auto* two = form->FindComponent<TTabSheet>("tsOption2");
    EXPECT_EQ(pages->ActivePage(), two);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    int changes = 0;
    pages->SetOnChange(TNotifyEvent::Of([&changes](TObject*) { ++changes; }));
    pages->SetOnChanging(TCloseQueryEvent::Of([&changes](TObject*, bool&) { ++changes; }));
    form->Show();
    QApplication::processEvents();
    EXPECT_EQ(pages->ActivePage(), two);
    EXPECT_EQ(currentSheetWidget(pages), two->Widget());
    EXPECT_EQ(changes, 0);
}

// Without an active page in the description, the first page with a tab is
// active, so the property says what the window shows.
TEST(PageControlLoadTest, WithoutANamedPageTheFirstTabbedPageIsActive)
{
    QString text = pagesForm(QString());
    // The first sheet loses its tab as well: the third is the first with one.
    text.replace("Caption = 'One'\n", "Caption = 'One'\n      TabVisible = False\n");
    std::unique_ptr<TForm> form = readForm(text);
    auto* pages = form->FindComponent<TPageControl>("pcMain");
    EXPECT_EQ(pages->ActivePage(), form->FindComponent<TTabSheet>("tsOption2"));
    form->Show();
    EXPECT_EQ(currentSheetWidget(pages), form->FindComponent<TTabSheet>("tsOption2")->Widget());
}

// A sheet without a tab can still be made active (pages switched from code,
// as wizards do); it shows although no tab is selected.
TEST(PageControlLoadTest, SheetWithoutATabCanBeTheActivePage)
{
    std::unique_ptr<TForm> form = readForm(pagesForm("tsHidden"));
    auto* pages = form->FindComponent<TPageControl>("pcMain");
    auto* hidden = form->FindComponent<TTabSheet>("tsHidden");
    EXPECT_EQ(pages->ActivePage(), hidden);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(hidden->TabIndex(), -1);
    form->Show();
    QApplication::processEvents();
    EXPECT_EQ(pages->ActivePage(), hidden);
    EXPECT_EQ(currentSheetWidget(pages), hidden->Widget());
    EXPECT_TRUE(hidden->Widget()->isVisible());

    // By index too, and an index out of range clears the active page.
    pages->SetActivePageIndex(0);
    EXPECT_EQ(currentSheetWidget(pages), form->FindComponent<TTabSheet>("tsOption1")->Widget());
    pages->SetActivePageIndex(1);
    EXPECT_EQ(pages->ActivePage(), hidden);
    EXPECT_EQ(currentSheetWidget(pages), hidden->Widget());
    pages->SetActivePageIndex(7);
    EXPECT_EQ(pages->ActivePage(), nullptr);
    EXPECT_EQ(pages->ActivePageIndex(), -1);
}

// While a page control is being read, the active page may be named before the
// sheet has joined it; it becomes active when the sheet arrives. A sheet that
// never arrives leaves the first tabbed page active.
TEST(PageControlLoadTest, PageNamedBeforeItsSheetArrivesIsResolvedLater)
{
    TForm form;
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->BeginLoading();
    auto* first = new TTabSheet(&form);
    auto* second = new TTabSheet(&form);
    first->SetParent(pages);
    pages->SetActivePage(second); // not yet a page of pcMain
    EXPECT_EQ(pages->ActivePage(), nullptr);
    second->SetParent(pages);
    pages->Loaded();
    EXPECT_EQ(pages->ActivePage(), second);

    auto* stray = new TTabSheet(&form);
    auto* other = new TPageControl(&form);
    other->SetParent(&form);
    auto* own = new TTabSheet(&form);
    other->BeginLoading();
    own->SetParent(other);
    other->SetActivePage(stray);
    other->Loaded();
    EXPECT_EQ(other->ActivePage(), own);

    // Outside loading a sheet of another control is refused, as before.
    EXPECT_THROW(pages->SetActivePage(own), EPropertyError);
    EXPECT_EQ(pages->ActivePage(), second);
}

// Built in code: the page chosen before the window exists is the one it shows.
TEST(PageControlLoadTest, PageChosenInCodeBeforeTheWindowIsShown)
{
    TForm form;
    TPageControl* pages = nullptr;
    const QList<TTabSheet*> sheets = AddPageControlWithSheets(form, pages, 3);
    pages->SetActivePage(sheets[2]);
    int changes = 0;
    pages->SetOnChange(TNotifyEvent::Of([&changes](TObject*) { ++changes; }));
    form.Show();
    QApplication::processEvents();
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(currentSheetWidget(pages), sheets[2]->Widget());
    EXPECT_EQ(changes, 0);
    // The user's click still goes through the events.
    static_cast<QTabWidget*>(pages->Widget())->setCurrentIndex(0);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(changes, 1);
}

// Anchors --------------------------------------------------------------------

namespace {

const char* const anchoredForm = R"(object frmAnchors: TForm
  ClientWidth = 400
  ClientHeight = 300
  object btnCorner: TButton
    Left = 300
    Top = 250
    Width = 80
    Height = 25
    Anchors = [akRight, akBottom]
  end
  object edWide: TEdit
    Left = 10
    Top = 10
    Width = 380
    Height = 21
    Anchors = [akLeft, akTop, akRight]
  end
  object pnlMiddle: TPanel
    Left = 150
    Top = 100
    Width = 100
    Height = 50
    Anchors = []
  end
  object lblStill: TLabel
    Left = 10
    Top = 40
    Caption = 'x'
  end
  object pnlFill: TPanel
    Left = 10
    Top = 160
    Width = 200
    Height = 80
    Anchors = [akLeft, akTop, akRight, akBottom]
    object btnInner: TButton
      Left = 110
      Top = 50
      Width = 80
      Height = 25
      Anchors = [akRight, akBottom]
    end
  end
  object sbStatus: TStatusBar
    Left = 0
    Top = 281
    Width = 400
    Height = 19
    Anchors = [akRight]
  end
end
)";

} // namespace

// Right and bottom anchors keep the distance to that edge, left and right
// together stretch, no horizontal anchor keeps the centre in proportion;
// nested parents pass their new size on, and aligned controls keep to their
// alignment whatever their anchors say.
TEST(AnchorsTest, ControlsFollowTheirParentsSize)
{
    std::unique_ptr<TForm> form = readForm(QString::fromLatin1(anchoredForm));
    ASSERT_TRUE(form);
    auto bounds = [&form](const char* name) { return form->FindComponent<TControl>(name)->BoundsRect(); };
    const QRect label = bounds("lblStill");

    form->SetClientWidth(600);
    form->SetClientHeight(600);
    EXPECT_EQ(bounds("btnCorner"), QRect(500, 550, 80, 25));
    EXPECT_EQ(bounds("edWide"), QRect(10, 10, 580, 21));
    EXPECT_EQ(bounds("pnlMiddle"), QRect(250, 225, 100, 50));
    EXPECT_EQ(bounds("lblStill"), label);
    EXPECT_EQ(bounds("pnlFill"), QRect(10, 160, 400, 380));
    EXPECT_EQ(bounds("btnInner"), QRect(310, 350, 80, 25));
    EXPECT_EQ(bounds("sbStatus"), QRect(0, 581, 600, 19)); // alBottom

    // Back to the first size: everything where it started.
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    EXPECT_EQ(bounds("btnCorner"), QRect(300, 250, 80, 25));
    EXPECT_EQ(bounds("edWide"), QRect(10, 10, 380, 21));
    EXPECT_EQ(bounds("pnlMiddle"), QRect(150, 100, 100, 50));
    EXPECT_EQ(bounds("btnInner"), QRect(110, 50, 80, 25));

    // Smaller than the designed size: a stretched control does not go below zero.
    form->SetClientWidth(5);
    EXPECT_EQ(bounds("edWide").width(), 0);
    EXPECT_EQ(bounds("btnCorner").left(), -95);
    form->SetClientWidth(400);
    EXPECT_EQ(bounds("edWide"), QRect(10, 10, 380, 21));
}

// A control placed anew (by code, or after its anchors changed) keeps the
// distances it has then, not those of the description.
TEST(AnchorsTest, MovingAControlResetsWhatItKeeps)
{
    std::unique_ptr<TForm> form = readForm(QString::fromLatin1(anchoredForm));
    auto* corner = form->FindComponent<TControl>("btnCorner");
    corner->SetLeft(200); // now 120 from the right edge
    form->SetClientWidth(500);
    EXPECT_EQ(corner->Left(), 300);

    auto* wide = form->FindComponent<TControl>("edWide");
    wide->SetAnchors(TAnchors(akRight) | akTop); // from now on it moves instead of stretching
    form->SetClientWidth(600);
    EXPECT_EQ(wide->BoundsRect(), QRect(110, 10, 480, 21));

    // A control built in code follows from the moment it has a parent.
    TForm built;
    built.SetClientWidth(200);
    built.SetClientHeight(100);
    auto* button = new TButton(&built);
    button->SetBounds(150, 70, 40, 20);
    button->SetAnchors(TAnchors(akRight) | akBottom);
    button->SetParent(&built);
    built.SetClientWidth(300);
    built.SetClientHeight(150);
    EXPECT_EQ(button->BoundsRect(), QRect(250, 120, 40, 20));
}

// Tab sheets take their page control's new size, and the controls on them follow.
TEST(AnchorsTest, ControlsOnTabSheetsFollowThePageControl)
{
    std::unique_ptr<TForm> form = readForm(
        QStringLiteral("object frmPagesAnchored: TForm\n"
                       "  ClientWidth = 400\n  ClientHeight = 300\n"
                       "  object pcMain: TPageControl\n"
                       "    Left = 8\n    Top = 8\n    Width = 384\n    Height = 284\n"
                       "    Anchors = [akLeft, akTop, akRight, akBottom]\n"
                       "    object tsMain: TTabSheet\n"
                       "      object btnApply: TButton\n"
                       "        Left = 290\n        Top = 220\n        Width = 80\n        Height = 25\n"
                       "        Anchors = [akRight, akBottom]\n"
                       "      end\n"
                       "    end\n"
                       "  end\n"
                       "end\n"));
    auto* sheet = form->FindComponent<TControl>("tsMain");
    const QRect before = sheet->BoundsRect();
    form->SetClientWidth(500);
    form->SetClientHeight(350);
    EXPECT_EQ(form->FindComponent<TControl>("pcMain")->BoundsRect(), QRect(8, 8, 484, 334));
    EXPECT_EQ(sheet->BoundsRect(), before.adjusted(0, 0, 100, 50));
    EXPECT_EQ(form->FindComponent<TControl>("btnApply")->BoundsRect(), QRect(390, 270, 80, 25));
}

// The user resizing the window moves the anchored widgets as well.
TEST(AnchorsTest, ResizingTheWindowMovesTheWidgets)
{
    std::unique_ptr<TForm> form = readForm(QString::fromLatin1(anchoredForm));
    form->Show();
    QApplication::processEvents();
    form->Widget()->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(form->ClientWidth(), 500);
    EXPECT_EQ(form->ClientHeight(), 400);
    auto* corner = form->FindComponent<TControl>("btnCorner");
    EXPECT_EQ(corner->BoundsRect(), QRect(400, 350, 80, 25));
    EXPECT_EQ(corner->Widget()->geometry(), QRect(400, 350, 80, 25));
    auto* inner = form->FindComponent<TControl>("btnInner");
    EXPECT_EQ(inner->Widget()->geometry(), QRect(210, 150, 80, 25));
}
