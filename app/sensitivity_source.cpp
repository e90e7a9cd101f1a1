#include "app/sensitivity_source.h"

#include "app/sensitivity.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

model::SensitivityResult CurrentSensitivity(ScreenHost& app) {
    return RunSensitivity(app.form2().StoreDocument(), app.ProjectFileName,
                          platform::ReferenceData::InMemory(app.ReferenceDatabase()));
}

}  // namespace verrane
