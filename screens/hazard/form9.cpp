#include "screens/hazard/form9.h"

#include <string>

#include "model/tornado_stats.h"
#include "platform/reference_data.h"
#include "screens/hazard/selection.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

Form9::Form9(ScreenHost& a) : Screen(a, "Form9", "") {
    Label1[0].name = "Label1";
    Label1[0].index = 0;
    Label1[0].setCaption("Extracting Tornado Statistics");
    ProgressBar1.name = "ProgressBar1";
    ProgressBar1.min = 0;
    ProgressBar1.max = 100;
}

void Form9::SetProgress(double value) {
    ProgressBar1.setValue(value);
    // Repaint only when the shown percentage moves: a whole state has hundreds of rows.
    const int percent = static_cast<int>(value);
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        Refresh();
    }
}

bool Form9::Get_Data() {
    BusyPointer busy(dialogs());
    Refresh();
    SetProgress(0);
    Refresh();
    try {
        Extract_Stats();
    } catch (const std::exception& e) {
        dialogs().MsgBox(platform::PoolingFailure(app.ReferenceDatabase(), e.what()), platform::Buttons::OK,
                         platform::Icon::Exclamation, hazard::kReferenceDataTitle);
        return false;
    }
    SetProgress(100);
    app.form2().StatsPending = false;
    return true;
}

void Form9::Extract_Stats() {
    Form2& f2 = app.form2();
    const model::TornadoStats s =
        platform::ReferenceData(app.ReferenceDatabase())
            .PooledStats(f2.SelectedCounties, f2.ProjectFips(), [this](double progress) { SetProgress(progress); });
    f2.AvgPathAreaByF = s.avgPathAreaByF;
    f2.AvgPathLengthByF = s.avgPathLengthByF;
    f2.TornadoCountByF = s.countByF;
    f2.RecordYears = s.recordYears;
    f2.SampleRegionArea = s.sampleRegionArea;
    f2.CountyArea = s.countyArea;
    f2.HourlyFractionByF = s.hourlyFractionByF;
}

}  // namespace verrane
