// What the application a scan is for takes and wants, as the front end knows it from the
// application's identity; the engine never looks at the identity itself.
#pragma once

struct ApplicationTraits {
    bool deepColour = false;      // admits "36-bit Color"
    bool cmyk = false;            // admits "CMYK Color"
    bool fax = false;             // 198 dpi is reported as 200
    bool office = false;          // the office application: brightness and contrast forms
    bool colourManager = false;   // the colour-management application: neutral enhancements
    bool batchPublisher = false;  // takes its own CMYK table, "cmykpp60.tab"
    bool cmykTableBytes = false;  // CMYK rows keep the table's bytes as they are
};
