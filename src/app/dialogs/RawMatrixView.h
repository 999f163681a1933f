#pragma once
#include <QComboBox>
#include <QLineEdit>

#include "app/dialogs/DialogViews.h"
#include "importers/RawMatrixDescription.h"

namespace tavrok::app {

// "Matrix Data Format": how a headerless grid file is laid out and where it lies.
class RawMatrixView : public ModelDialog {
    Q_OBJECT
  public:
    RawMatrixView(importers::RawMatrixDescription& model, support::Ui& ui, QWidget* parent);

  protected:
    bool readFields() override;

  private:
    QComboBox* choice(const QStringList& items, int current, const QString& name);
    QLineEdit* edit(const QString& value, const QString& name);

    importers::RawMatrixDescription& m_model;
    QComboBox* m_encoding;
    QComboBox* m_byteOrder;
    QLineEdit* m_offset;
    QLineEdit* m_missing;
    QLineEdit* m_columns;
    QLineEdit* m_rows;
    QComboBox* m_columnOrder;
    QComboBox* m_rowOrder;
    QComboBox* m_coordinateSystem;
    QLineEdit* m_zone;
    QLineEdit* m_ellipsoid;
    QLineEdit* m_west;
    QLineEdit* m_south;
    QLineEdit* m_east;
    QLineEdit* m_north;
    QComboBox* m_horizontalUnits;
    QComboBox* m_verticalUnits;
    QComboBox* m_dataType;
};

}  // namespace tavrok::app
