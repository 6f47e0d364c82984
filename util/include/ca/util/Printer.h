#pragma once
// The printing seam: one document on a printer, with a title, a canvas font size and texts placed at
// device coordinates (x to the right, y downwards, the text's top-left corner). The windows print
// through the Qt implementation; tests record what would be printed on RecordingPrinter.
#include <string>
#include <vector>

namespace ca {

class Printer {
public:
    virtual ~Printer() = default;
    // The document's title (the job name) and the canvas font size in points, both for the next
    // document; a change of font size during a document applies to the texts after it.
    virtual void setTitle(const std::string& title) = 0;
    virtual void setFontSize(int points) = 0;
    // Starts a document. Throws with the reason when nothing can be printed (no printer).
    virtual void beginDoc() = 0;
    virtual void textOut(int x, int y, const std::string& text) = 0;
    // Ends the document and hands it to the printer.
    virtual void endDoc() = 0;
    // Drops a started document: nothing of it is printed.
    virtual void abortDoc() = 0;
};

// One document from beginDoc to endDoc; a document left by an error is aborted, so a half
// statement never reaches the printer.
class PrintJob {
public:
    explicit PrintJob(Printer& printer) : printer_(printer) { printer_.beginDoc(); }
    ~PrintJob() {
        if (!ended_) printer_.abortDoc();
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    void textOut(int x, int y, const std::string& text) { printer_.textOut(x, y, text); }
    void end() {
        ended_ = true;
        printer_.endDoc();
    }

private:
    Printer& printer_;
    bool ended_ = false;
};

// Test implementation: keeps every document and every text placed on it.
class RecordingPrinter : public Printer {
public:
    struct Text {
        int x = 0;
        int y = 0;
        std::string text;
        int fontSize = 0;
        bool operator==(const Text&) const = default;
    };
    struct Document {
        std::string title;
        std::vector<Text> texts;
        bool ended = false;    // handed to the printer
        bool aborted = false;  // dropped
    };

    void setTitle(const std::string& title) override { title_ = title; }
    void setFontSize(int points) override { fontSize_ = points; }
    void beginDoc() override;
    void textOut(int x, int y, const std::string& text) override;
    void endDoc() override;
    void abortDoc() override;

    // The next beginDoc throws this text, as a missing printer does (empty: prints normally).
    void failNextBegin(std::string reason) { failure_ = std::move(reason); }
    const std::vector<Document>& documents() const { return documents_; }
    // The documents handed to the printer, in order.
    std::vector<Document> printed() const;

private:
    Document& open();
    std::string title_;
    int fontSize_ = 0;
    std::string failure_;
    std::vector<Document> documents_;
};

}  // namespace ca
