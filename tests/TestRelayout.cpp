// A change of size: the template layout, and every screen rebuilt from the shared state.
#include "RunnerTestSupport.h"
#include "app/DialogTexts.h"
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"

namespace
{
using namespace RunnerTest;
using namespace ControlId;

constexpr Size Portrait{240, 320};
constexpr Size Landscape{320, 240};

DialogItemTemplate Item(std::uint16_t id, std::uint16_t windowClass, std::uint32_t style,
                        Rect place, TemplateField title,
                        std::vector<std::uint8_t> creationData = {})
{
    DialogItemTemplate item;
    item.style = TemplateStyle::Child | TemplateStyle::Visible | style;
    item.x = static_cast<std::int16_t>(place.x);
    item.y = static_cast<std::int16_t>(place.y);
    item.width = static_cast<std::int16_t>(place.width);
    item.height = static_cast<std::int16_t>(place.height);
    item.id = id;
    item.windowClass = {true, windowClass, {}};
    item.title = std::move(title);
    item.creationData = std::move(creationData);
    return item;
}

TemplateField String(Text text)
{
    return {false, 0, std::move(text)};
}

std::vector<std::uint8_t> Template(std::vector<DialogItemTemplate> items,
                                   std::uint32_t style = TemplateStyle::SetFont)
{
    DialogTemplate dialog;
    dialog.style = TemplateStyle::Popup | style;
    dialog.width = 136;
    dialog.height = 134;
    dialog.caption = String("Tavrino");
    dialog.pointSize = 10;
    dialog.fontName = "Microsoft Sans Serif"; // an even length: the items after it need padding
    dialog.items = std::move(items);
    return WriteDialogTemplate(dialog);
}

class RelayoutTest : public CRunnerTest
{
protected:
    Rect Place(int id) const { return m_dialog->Surface().Controls().at(id).place; }
    bool Apply(std::span<const std::uint8_t> bytes)
    {
        return m_dialog->Dialog().ApplyTemplateLayout(bytes);
    }
    void Turn(Size size) { Surface().Resize(size); }

    void StartDialog()
    {
        m_root.MakeFolder("Thema");
        m_dialog = std::make_unique<CDialogHarness>(ProgramFolder());
    }
};

TEST_F(RelayoutTest, PortraitTemplatePutsPlacesAndTextsBack)
{
    StartDialog();
    Surface().SetControlText(MenuButton0, "Bremsen");
    Surface().DeferControlMove(Heading, {0, 0, 1, 1}); // no batch is open: refused
    ASSERT_TRUE(Surface().BeginDeferredMoves(1));
    ASSERT_TRUE(Surface().DeferControlMove(Heading, {1, 2, 3, 4}));
    ASSERT_TRUE(Surface().EndDeferredMoves());
    EXPECT_EQ(Place(Heading), (Rect{1, 2, 3, 4}));

    EXPECT_TRUE(Apply(FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate)));
    EXPECT_EQ(Place(Heading), (Rect{6, 0, 128, 8}));
    EXPECT_EQ(Place(MenuButton5), (Rect{72, 77, 62, 23}));
    EXPECT_EQ(m_dialog->ControlText(MenuButton0), "Button1");
    EXPECT_EQ(m_dialog->ControlText(SubHeading), DialogText::ByLine);
    EXPECT_EQ(m_dialog->ControlText(CentreButton), ""); // the template's text, until a redraw
}

TEST_F(RelayoutTest, LandscapeTemplateMovesNothing)
{
    StartDialog();
    ASSERT_TRUE(Surface().BeginDeferredMoves(1));
    ASSERT_TRUE(Surface().DeferControlMove(Heading, {1, 2, 3, 4}));
    ASSERT_TRUE(Surface().EndDeferredMoves());
    Surface().SetControlText(MenuButton0, "Bremsen");
    EXPECT_FALSE(Apply(FindResource(ResourceType::Dialog, ResourceId::LandscapeTemplate)));
    EXPECT_EQ(Place(Heading), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(m_dialog->ControlText(MenuButton0), "Bremsen");
    EXPECT_FALSE(Apply({})); // a template that is not there
    EXPECT_EQ(Place(Heading), (Rect{1, 2, 3, 4}));
}

TEST_F(RelayoutTest, CraftedTemplates)
{
    StartDialog();
    const auto button = [](std::uint16_t id, Rect place, Text title = "x",
                           std::vector<std::uint8_t> data = {}) {
        return Item(id, TemplateClass::Button, 0, place, String(std::move(title)), std::move(data));
    };
    struct Case
    {
        const char* name;
        std::vector<DialogItemTemplate> items;
        bool result;
        Rect heading; // where 1002 ends up
        Rect left;    // where 1010 ends up
    };
    const Rect leftAtStart{4, 102, 44, 32};
    const std::vector<Case> cases = {
        {"two items",
         {button(1002, {1, 1, 5, 5}), button(1010, {2, 2, 6, 6})},
         true,
         {1, 1, 5, 5},
         {2, 2, 6, 6}},
        {"a missing control stops the layout there",
         {button(1002, {1, 1, 5, 5}), button(4711, {0, 0, 1, 1}), button(1010, {2, 2, 6, 6})},
         false,
         {1, 1, 5, 5},
         leftAtStart},
        {"creation data and odd titles are passed",
         {button(1002, {1, 1, 5, 5}, "abc", {1, 2, 3}), button(1010, {2, 2, 6, 6}, "a")},
         true,
         {1, 1, 5, 5},
         {2, 2, 6, 6}},
        {"a named class restores nothing but still moves",
         {[]
          {
              auto item = Item(1002, 0, 0, {3, 3, 7, 7}, String("neu"));
              item.windowClass = String("Knopf");
              return item;
          }()},
         true,
         {3, 3, 7, 7},
         leftAtStart},
    };
    for (const auto& c : cases)
    {
        // Back to the start places first.
        ASSERT_TRUE(Apply(FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate)));
        EXPECT_EQ(Apply(Template(c.items)), c.result) << c.name;
        EXPECT_EQ(Place(Heading), c.heading) << c.name;
        EXPECT_EQ(Place(LeftButton), c.left) << c.name;
    }
    // The named class kept 1002's text; a button of class number took its title.
    EXPECT_EQ(m_dialog->ControlText(Heading), "Tavrino");
    ASSERT_TRUE(Apply(Template({button(1002, {1, 1, 5, 5}, "abc")})));
    EXPECT_EQ(m_dialog->ControlText(Heading), "abc");
    // A template without the font bit has no font fields.
    EXPECT_TRUE(Apply(Template({button(1010, {9, 9, 9, 9})}, 0)));
    EXPECT_EQ(Place(LeftButton), (Rect{9, 9, 9, 9}));

    // A truncated template applies what it read whole and fails; nothing is read past its end.
    const auto whole = Template({button(1002, {1, 1, 5, 5}), button(1010, {2, 2, 6, 6})});
    for (std::size_t length = 0; length < whole.size(); ++length)
    {
        std::vector<std::uint8_t> cut(whole.begin(),
                                      whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(Apply(cut)) << length;
    }
}

TEST_F(RelayoutTest, ImageTitlesAndIdsThatCannotBeToldApart)
{
    StartDialog();
    // A dialog of its own, whose controls all share the id 0xFFFF but one icon static.
    const auto bytes = Template({
        Item(0xFFFF, TemplateClass::Static, TemplateStyle::StaticCentre, {1, 1, 1, 1}, String("a")),
        Item(0xFFFF, TemplateClass::Static, TemplateStyle::StaticCentre, {2, 2, 2, 2}, String("b")),
        Item(300, TemplateClass::Static, TemplateStyle::StaticIcon, {3, 3, 3, 3},
             {true, ResourceId::ProgramIcon, {}}),
        Item(301, TemplateClass::Static, TemplateStyle::StaticBitmap, {4, 4, 4, 4}, {true, 77, {}}),
    });
    ASSERT_TRUE(Surface().CreateFromTemplate(bytes, m_dialog->Dialog()));
    EXPECT_FALSE(Apply(bytes)); // everything moved, but two ids of 0xFFFF
    EXPECT_EQ(Place(0xFFFF), (Rect{2, 2, 2, 2}));
    EXPECT_EQ(Surface().Controls().at(300).imageResource, ResourceId::ProgramIcon);
    EXPECT_EQ(Surface().Controls().at(301).imageResource, 0); // no such bitmap: unchanged
    EXPECT_TRUE(Apply(Template({Item(300, TemplateClass::Static, TemplateStyle::StaticIcon,
                                     {5, 5, 5, 5}, {true, 9999, {}})})));
    EXPECT_EQ(Surface().Controls().at(300).imageResource, ResourceId::ProgramIcon);
}

TEST_F(RelayoutTest, StartAndMenuScreensSurviveATurn)
{
    m_root.MakeFolder("Thema");
    m_dialog = std::make_unique<CDialogHarness>(ProgramFolder());
    const RunnerScreen start{
        Title, DialogText::ByLine, DialogText::StartNotice, Hidden, "Start", Hidden, false};
    for (const Size size : {Landscape, Portrait, Size{300, 300}})
    {
        Turn(size);
        EXPECT_EQ(Screen(), start);
        EXPECT_EQ(State().g_viewMode, ViewMode::StartScreen);
    }
    Surface().Click(CentreButton);
    m_root.MakeFolder("Neu"); // listed at the rebuild
    Turn(Landscape);
    EXPECT_EQ(Screen().subHeading, "Hauptmenue");
    EXPECT_EQ(m_dialog->ControlText(MenuButton0), "Neu");
    EXPECT_EQ(m_dialog->ControlText(MenuButton1), "Thema");
    Turn(Portrait);
    EXPECT_TRUE(m_dialog->IsShown(MenuButton1));
    EXPECT_EQ(m_dialog->ControlText(MenuButton1), "Thema"); // not the template's "Button2"
    Surface().Click(MenuButton1);
    Write("Neue Liste.lst", "A;");
    Turn(Landscape);
    EXPECT_EQ(m_dialog->ControlText(MenuButton0), "Neue Liste");
    EXPECT_EQ(State().g_viewMode, ViewMode::SubMenu);
}

TEST_F(RelayoutTest, RunnerScreensAfterATurn)
{
    // Line: 0 $Kopf, 1 !Teil, 2 Eins;, 3 *bild.png, 4 Zwei;, 5 Frage?, 6 n/j, 7 %n, 8 %j, 9 Drei;
    Write("bild.png", "PICTURE 320x240");
    StartList(
        {"$Kopf", "!Teil", "Eins;", "*bild.png", "Zwei;", "Frage?", "n/j", "%n", "%j", "Drei;"});
    const RunnerScreen first{"Kopf", "Teil", "Eins", "Abbruch", Hidden, "Weiter", false};
    EXPECT_EQ(Screen(), first);
    // The first step offers "Zurück" after a turn, in either direction.
    Turn(Landscape);
    EXPECT_EQ(Screen(),
              (RunnerScreen{"Kopf", "Teil", "Eins", "Abbruch", "Zurück", "Weiter", false}));
    Turn(Portrait);
    EXPECT_EQ(Screen(),
              (RunnerScreen{"Kopf", "Teil", "Eins", "Abbruch", "Zurück", "Weiter", false}));

    Press("R"); // the picture: "Weiter" and "Zurück" after a turn
    EXPECT_EQ(Screen(), (RunnerScreen{Hidden, Hidden, Hidden, Hidden, Hidden, Hidden, true}));
    Turn(Landscape);
    EXPECT_EQ(Screen(), (RunnerScreen{Hidden, Hidden, Hidden, Hidden, "Zurück", "Weiter", true}));
    ASSERT_TRUE(ShownPicture());
    EXPECT_EQ(ShownPicture()->Width(), 200);
    EXPECT_EQ(ShownPicture()->Height(), 260);
    // A picture that no longer loads leaves the one shown, without a message.
    std::filesystem::remove(TopicPath("bild.png"));
    Turn(Portrait);
    EXPECT_TRUE(ShownPicture());
    EXPECT_TRUE(Messages().empty());
    Press("R"); // "Weiter" after the redraw, as the tap would
    // After the portrait template the headings keep the template's texts until the list sets
    // them again.
    EXPECT_EQ(Screen(), (RunnerScreen{Title, DialogText::ByLine, "Zwei", "Abbruch", "Zurück",
                                      "Weiter", false}));

    Press("R"); // the question: the redraw labels the left button "Abbruch"
    EXPECT_EQ(Screen().left, "Zum Anfang");
    Turn(Landscape);
    EXPECT_EQ(Screen(), (RunnerScreen{"Kopf", "Teil", "Frage?", "Abbruch", "Nein", "Ja", false}));
    EXPECT_EQ(State().g_leftButtonMode, LeftButtonMode::QuestionScreen);

    Press("R"); // "Ja": a step with back blocked
    EXPECT_EQ(Screen().body, "Drei");
    Turn(Portrait);
    EXPECT_EQ(Screen(), (RunnerScreen{"Kopf", "Teil", "Drei", "Abbruch", Hidden, "Weiter", false}));

    Press("R"); // the end screen keeps the last step's headings in landscape
    Turn(Landscape);
    EXPECT_EQ(Screen(), EndScreen(Hidden, "Kopf", "Teil"));
    EXPECT_EQ(State().g_screenState, ScreenState::End);
    // Portrait gives the end screen the template's headings.
    Surface().SetControlText(Heading, "anders");
    Turn(Portrait);
    EXPECT_EQ(Screen(), EndScreen(Hidden, Title, DialogText::ByLine));
}

TEST_F(RelayoutTest, StopwatchTakesTheHeadingBackAtItsNextTick)
{
    StartList({"$Kopf", ":60 Bremse", "Eins;"});
    Press("T");
    EXPECT_EQ(Screen().heading, "Stoppuhr für Bremse59");
    Turn(Landscape);
    EXPECT_EQ(Screen().heading, "Kopf");
    Press("T");
    EXPECT_EQ(Screen().heading, "Stoppuhr für Bremse58");
}
} // namespace
