#include "form6.h"

#include "app_context.h"
#include "form1.h"
#include "message_boxes.h"
#include "ui_form6.h"

#include "core/convert.h"

#include <QAbstractTableModel>
#include <QHeaderView>

// The grid's rows as a table model: cells are made only when painted, so a log of thousands of
// flights shows at once.
class FlightLogModel : public QAbstractTableModel {
public:
    FlightLogModel(const vantrel::FlightLogGrid& grid, QObject* parent)
        : QAbstractTableModel(parent), grid_(grid) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(grid_.Rows().size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : vantrel::kFlightLogColumns;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        // The log's bytes as they stand: Latin-1, as the program writes them.
        return QString::fromLatin1(grid_.Rows()[std::size_t(index.row())][std::size_t(index.column())]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const headers[vantrel::kFlightLogColumns] = {
            "Date", "Origin", "ATA", "Dest", "ATD", "ETE", "ATE", "TOW", "Plan TF", "Act TF", "Pax", "Cargo"};
        return section >= 0 && section < vantrel::kFlightLogColumns ? QString::fromLatin1(headers[section])
                                                                    : QVariant();
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    const vantrel::FlightLogGrid& grid_;
};

TForm6::TForm6(vantrel::AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx), ui(new Ui::TForm6) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(722, 477);
    model_ = new FlightLogModel(grid_, this);
    ui->sg1->setModel(model_);
    static const int widths[vantrel::kFlightLogColumns] = {60, 53, 52, 51, 51, 52, 54, 74, 71, 68, 47, 52};
    for (int c = 0; c < vantrel::kFlightLogColumns; ++c)
        ui->sg1->setColumnWidth(c, widths[c]);
    // The columns are as narrow as the log's fields: a small font, and no text cut to "...".
    QFont small = ui->sg1->font();
    small.setPixelSize(10);
    small.setLetterSpacing(QFont::PercentageSpacing, 94);
    ui->sg1->setFont(small);
    ui->sg1->setTextElideMode(Qt::ElideNone);
    ui->sg1->verticalHeader()->hide(); // no fixed column
    ui->sg1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->sg1->verticalHeader()->setDefaultSectionSize(18);
    ui->sg1->horizontalHeader()->setFixedHeight(18);
    ui->sg1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->sg1->horizontalHeader()->setHighlightSections(false);
    grid_.onChanged = [this] { model_->Reset(); };
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

TForm6::~TForm6() = default;

void TForm6::FormShow() {
    try {
        grid_.FormShow(ctx_.programDir);
    } catch (const vantrel::UserError& e) {
        vantrel::ShowError(ctx_, e.what(), this);
    }
}

void TForm6::showEvent(QShowEvent* event) {
    // Centred on the main window.
    const QWidget* main = ctx_.windows.Form1;
    if (main) move(main->geometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}
