#pragma once

namespace dye {

// The language table's texts the run and the intakes show, by what they say
// (entry k of each language's block).
namespace LanguageText {
enum : int {
    FillingWater = 57,         // the base water runs in
    MovingBucket = 58,         // the bucket goes to the dispensing place
    Washing = 59,              // the wash after the last row
    ToppingUp = 60,            // the top-up water runs in
    WaterToppedUp = 61,        // the water is in; the final rinse follows
    LaneWaiting = 62,          // a two-balance lane waits
    LanePreparing = 63,        // a two-balance lane is being prepared
    Dispensing = 64,           // a two-balance lane dispenses
    DispensingDone = 65,       // a two-balance lane is done
    ChangeBucket = 66,         // a two-balance lane wants a new bucket
    RecipeVariantPrompt = 78,  // the scan intake asks for the recipe variant
};
}  // namespace LanguageText

}  // namespace dye
