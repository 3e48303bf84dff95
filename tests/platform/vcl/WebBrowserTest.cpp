// The browser control on pages of its own in a scratch folder: it starts its engine only when it first
// navigates, reports the end of every load, calls the page's functions with texts that arrive intact,
// and refuses calls to a function the page lacks or to a page that is gone.
#include "platform/vcl/WebBrowser.h"
#include "platform/core/StrUtils.h"
#include "tests/platform/vcl/VclTestSupport.h"

#include <cctype>

namespace {

using namespace vcl_test;

// Every call the page receives is written into its title as name(arg,arg) joined by ';', each argument
// percent-encoded byte by byte except letters, digits and "-_.~".
const char kRecorderPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title></title></head><body><script>
var calls = [];
function encode(text) {
    return encodeURIComponent(text).replace(/[!'()*]/g, function (c) {
        return '%' + c.charCodeAt(0).toString(16).toUpperCase();
    });
}
function record(name, args) {
    calls.push(name + '(' + Array.prototype.map.call(args, encode).join(',') + ')');
    document.title = calls.join(';');
}
function note() { record('note', arguments); }
function fails() { record('fails', arguments); throw new Error('broken on purpose'); }
</script></body></html>
)";

std::string Encode(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~')
            out += static_cast<char>(c);
        else
            out += Format("%%%02X", c);
    }
    return out;
}

class WebBrowserTest : public VclTest {
protected:
    void SetUp() override {
        form_ = new TForm(nullptr);
        form_->SetClientWidth(320);
        form_->SetClientHeight(240);
        browser_ = new TCppWebBrowser(form_);
        browser_->SetParent(form_);
        browser_->SetBounds(0, 0, 320, 240);
        browser_->OnDocumentComplete = [this](TObject*, const std::string& url) {
            completed_.push_back(url);
            documents_.push_back(browser_->Document());
        };
        testing_support::WriteFileBytes(dir_.File("recorder.html"), kRecorderPage);
    }
    void TearDown() override {
        delete form_;
        VclTest::TearDown();
    }

    // The engine's first start takes seconds on a loaded machine.
    bool WaitForLoads(std::size_t count) {
        return form_testing::WaitUntil([&] { return completed_.size() >= count; }, 60000);
    }
    bool WaitForTitle(const std::string& title) {
        return form_testing::WaitUntil([&] { return browser_->LocationName() == title; }, 20000);
    }

    testing_support::TempDir dir_;
    TForm* form_ = nullptr;
    TCppWebBrowser* browser_ = nullptr;
    std::vector<std::string> completed_;
    std::vector<std::shared_ptr<TWebDocument>> documents_;
};

TEST_F(WebBrowserTest, TheEngineStartsOnlyWhenTheControlFirstNavigates) {
    form_->Show();
    form_testing::ProcessEvents();
    EXPECT_FALSE(browser_->EngineStarted());
    EXPECT_EQ(browser_->Document(), nullptr);
    browser_->Refresh(); // nothing to refresh yet
    EXPECT_FALSE(browser_->EngineStarted());
    browser_->Navigate(dir_.File("recorder.html"));
    EXPECT_FALSE(browser_->EngineStarted()) << "the window showing it comes first";
    EXPECT_TRUE(form_testing::WaitUntil([&] { return browser_->EngineStarted(); }, 60000));
}

TEST_F(WebBrowserTest, CallsCarryTheirTextsIntact) {
    form_->Show();
    browser_->Navigate(dir_.File("recorder.html"));
    ASSERT_TRUE(WaitForLoads(1));
    ASSERT_NE(documents_[0], nullptr);
    EXPECT_EQ(completed_[0], "file://" + dir_.File("recorder.html"));
    EXPECT_TRUE(documents_[0]->HasScript());

    const std::vector<std::string> texts = {"C:\\Program Files\\\"Harbek\"\\",
                                            "it's",
                                            "</script><script>alert(1)</script>",
                                            "two\nlines\ttab",
                                            "37.5",
                                            "",
                                            "\xE6\x97\xA5\xE6\x9C\xAC ok",
                                            "'); note('injected"};
    EXPECT_TRUE(documents_[0]->CallFunction("note", texts));
    std::string expected = "note(";
    for (std::size_t i = 0; i < texts.size(); ++i)
        expected += (i ? "," : "") + Encode(texts[i]);
    expected += ")";
    EXPECT_TRUE(WaitForTitle(expected)) << browser_->LocationName();

    // A function that throws has run; the page goes on taking calls.
    EXPECT_TRUE(documents_[0]->CallFunction("fails", {"x"}));
    EXPECT_TRUE(documents_[0]->CallFunction("note", {}));
    EXPECT_TRUE(WaitForTitle(expected + ";fails(x);note()")) << browser_->LocationName();
    // Nothing runs for a name the page does not have as a function.
    EXPECT_FALSE(documents_[0]->CallFunction("missing", {"x"}));
    EXPECT_FALSE(documents_[0]->CallFunction("calls", {"x"}));
    EXPECT_FALSE(documents_[0]->CallFunction("note(1);note", {"x"}));
    EXPECT_TRUE(documents_[0]->CallFunction("note", {"last"}));
    EXPECT_TRUE(WaitForTitle(expected + ";fails(x);note();note(last)")) << browser_->LocationName();
}

TEST_F(WebBrowserTest, ANewLoadRetiresTheDocumentBefore) {
    browser_->Navigate(dir_.File("recorder.html"));
    ASSERT_TRUE(WaitForLoads(1));
    const std::shared_ptr<TWebDocument> first = documents_[0];
    ASSERT_NE(first, nullptr);

    browser_->Refresh();
    EXPECT_EQ(browser_->Document(), nullptr) << "no document while the page loads again";
    EXPECT_FALSE(first->HasScript());
    EXPECT_FALSE(first->CallFunction("note", {"too early"}));
    ASSERT_TRUE(WaitForLoads(2));
    ASSERT_NE(documents_.back(), nullptr);
    EXPECT_FALSE(first->CallFunction("note", {"stale"}));
    EXPECT_TRUE(documents_.back()->CallFunction("note", {"fresh"}));
    EXPECT_TRUE(WaitForTitle("note(fresh)")) << browser_->LocationName();

    // A file that is not there: the load ends without a document, and the one before is gone too.
    const std::shared_ptr<TWebDocument> second = documents_.back();
    browser_->Navigate(dir_.File("absent.html"));
    ASSERT_TRUE(WaitForLoads(3));
    EXPECT_EQ(documents_.back(), nullptr);
    EXPECT_EQ(browser_->Document(), nullptr);
    EXPECT_FALSE(second->CallFunction("note", {"gone"}));
}

TEST_F(WebBrowserTest, ADestroyedBrowserRefusesCallsOfItsDocuments) {
    browser_->Navigate(dir_.File("recorder.html"));
    ASSERT_TRUE(WaitForLoads(1));
    const std::shared_ptr<TWebDocument> document = documents_[0];
    ASSERT_NE(document, nullptr);
    delete browser_;
    EXPECT_FALSE(document->HasScript());
    EXPECT_FALSE(document->CallFunction("note", {"x"}));
    form_testing::ProcessEvents();
}

} // namespace
