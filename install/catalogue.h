#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

// The starting catalogues of a new diary, kept as readable text in
// res/catalogue/ and built into the installer.
namespace install {

struct Food
{
    int category;
    QString name;
    int unit;   // units::QuantityKind
    int energy; // kJ per 100 g, 100 ml or piece
    double protein;
    double carbohydrate;
    double fat;
    double alcohol;  // not stored: only for checking the energy
    double fibre;    // not stored: only for checking the energy
    int pieceWeight; // grams of a typical piece (unit St.), 0 otherwise; not stored
};

struct Activity
{
    int category;
    QString name;
    double met;
    int energy; // kJ per hour at 75 kg
};

class CatalogueError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Lines "category|name|unit|kJ|protein|carbohydrate|fat|alcohol|fibre" with
// unit g or ml, and "...|fibre|piece weight in g" with unit St.; '#' starts a
// comment line. Throws CatalogueError with the line number on a malformed line.
std::vector<Food> parseFoods(const QString& text);
// Lines "category|name|MET|kJ per hour".
std::vector<Activity> parseActivities(const QString& text);

// The texts built into the program.
QString foodsText();
QString activitiesText();

} // namespace install
