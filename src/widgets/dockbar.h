#pragma once

#include "widgets/dockbarsizes.h"

#include <QDockWidget>
#include <string>

class QMainWindow;

namespace qel {

struct AppContext;

// A docking bar that keeps its docked and floating sizes in the settings, so that the
// reader finds it as wide as he left it. Its parent is the QMainWindow it docks in.
class CDockBar : public QDockWidget {
    Q_OBJECT
public:
    // `owner` and `barId` name the settings section. The settings are reached through the
    // context whenever they are read or written, as the store may be replaced.
    CDockBar(const QString& title, AppContext& context, std::string owner, int barId,
             const DockBarSizes& defaults, QMainWindow* parent);
    ~CDockBar() override;

    const DockBarSizes& sizes() const { return sizes_; }
    const std::string& section() const { return section_; }
    // Writes the sizes now; they are also written when the bar goes.
    void saveSizes() noexcept;

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Gives the bar the kept size of where it is now.
    void applySizes();
    QMainWindow* host() const;
    QSize keptSize() const;

    AppContext& context_;
    std::string section_;
    DockBarSizes sizes_;
    // Sizes are taken from the bar only once the kept size was applied, so the layout's
    // first guesses are not kept.
    bool recording_ = false;
    bool applying_ = false;
};

} // namespace qel
