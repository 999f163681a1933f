#include "app/dialogs/RawMatrixView.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

using importers::RawMatrixDescription;

int coordinateIndex(terrain::ProjectionKind kind) {
    switch (kind) {
        case terrain::ProjectionKind::LatLon:
            return 1;
        case terrain::ProjectionKind::XY:
            return 2;
        default:
            return 0;
    }
}

constexpr terrain::ProjectionKind coordinateKinds[] = {
    terrain::ProjectionKind::UTM, terrain::ProjectionKind::LatLon, terrain::ProjectionKind::XY};

}  // namespace

QComboBox* RawMatrixView::choice(const QStringList& items, int current, const QString& name) {
    auto* box = new QComboBox;
    box->addItems(items);
    box->setCurrentIndex(current);
    box->setObjectName(name);
    return box;
}

QLineEdit* RawMatrixView::edit(const QString& value, const QString& name) {
    auto* line = new QLineEdit(value);
    line->setObjectName(name);
    return line;
}

RawMatrixView::RawMatrixView(RawMatrixDescription& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    m_encoding = choice({"INT (16)", "FLOAT (32)", "ASCII"}, int(model.encoding), "encoding");
    m_byteOrder = choice({"Little Endian", "Big Endian"}, int(model.byteOrder), "byteOrder");
    m_offset = edit(QString::number(model.offsetBytes), "offset");
    m_missing = edit(QString::number(model.missingValue), "missing");
    m_columns = edit(QString::number(model.columns), "columns");
    m_rows = edit(QString::number(model.rows), "rows");
    m_columnOrder = choice({"W-E", "E-W"}, int(model.columnOrder), "columnOrder");
    m_rowOrder = choice({"S-N", "N-S"}, int(model.rowOrder), "rowOrder");
    m_coordinateSystem = choice({"UTM", "Lat/Long", "X/Y"}, coordinateIndex(model.coordinateSystem),
                                "coordinateSystem");
    m_zone = edit(QString::fromStdString(model.zoneText), "zone");
    m_ellipsoid = edit(QString::fromStdString(model.ellipsoidText), "ellipsoid");
    m_west = edit(QString::number(model.west, 'g', 12), "west");
    m_south = edit(QString::number(model.south, 'g', 12), "south");
    m_east = edit(QString::number(model.east, 'g', 12), "east");
    m_north = edit(QString::number(model.north, 'g', 12), "north");
    m_horizontalUnits = choice({"Meters", "Feet", "Degrees Lat/Long"}, int(model.horizontalUnit),
                               "horizontalUnits");
    m_verticalUnits = choice({"Meters", "Feet"}, int(model.verticalUnit), "verticalUnits");
    m_dataType = choice({"Height", "Depth"}, int(model.dataType), "dataType");

    auto* form = new QFormLayout;
    form->addRow("Data Type", m_encoding);
    form->addRow("Byte Order", m_byteOrder);
    form->addRow("Offset (bytes)", m_offset);
    form->addRow("Missing Data Value", m_missing);
    form->addRow("Columns", m_columns);
    form->addRow("Rows", m_rows);
    form->addRow("Column Order", m_columnOrder);
    form->addRow("Row Order", m_rowOrder);
    form->addRow("Coordinate System", m_coordinateSystem);
    form->addRow("Zone", m_zone);
    form->addRow("Reference  Ellipsoid", m_ellipsoid);
    form->addRow("X (West)", m_west);
    form->addRow("Y (South)", m_south);
    form->addRow("X (East)", m_east);
    form->addRow("Y (North)", m_north);
    form->addRow("Horizontal Units", m_horizontalUnits);
    form->addRow("Vertical Units", m_verticalUnits);
    form->addRow("Height or Depth", m_dataType);
    setBodyWithOkCancel(form);
}

bool RawMatrixView::readFields() {
    bool allRead = true;
    const auto number = [&allRead](QLineEdit* line) {
        bool ok = false;
        const double value = line->text().trimmed().toDouble(&ok);
        allRead = allRead && ok;
        return value;
    };
    const auto whole = [&allRead](QLineEdit* line) {
        bool ok = false;
        const long long value = line->text().trimmed().toLongLong(&ok);
        allRead = allRead && ok;
        return value;
    };
    m_model.encoding = importers::RawSampleEncoding(m_encoding->currentIndex());
    m_model.byteOrder = importers::RawByteOrder(m_byteOrder->currentIndex());
    m_model.offsetBytes = whole(m_offset);
    m_model.missingValue = static_cast<int>(whole(m_missing));
    m_model.columns = static_cast<int>(whole(m_columns));
    m_model.rows = static_cast<int>(whole(m_rows));
    m_model.columnOrder = importers::RawColumnOrder(m_columnOrder->currentIndex());
    m_model.rowOrder = importers::RawRowOrder(m_rowOrder->currentIndex());
    m_model.coordinateSystem = coordinateKinds[m_coordinateSystem->currentIndex()];
    m_model.zoneText = m_zone->text().toStdString();
    m_model.ellipsoidText = m_ellipsoid->text().toStdString();
    m_model.west = number(m_west);
    m_model.south = number(m_south);
    m_model.east = number(m_east);
    m_model.north = number(m_north);
    m_model.horizontalUnit = importers::RawHorizontalUnit(m_horizontalUnits->currentIndex());
    m_model.verticalUnit = terrain::ElevationUnit(m_verticalUnits->currentIndex());
    m_model.dataType = terrain::DataType(m_dataType->currentIndex());
    if (!allRead) {
        m_ui.showMessage(support::messageText(support::ErrorCode::IncorrectValues));
    }
    return allRead;
}

}  // namespace tavrok::app
