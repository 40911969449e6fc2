#pragma once

#include "host/DragAndDrop.h"

#include <QMimeData>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

// Takes every drag in place of the platform's drag loop while it lives: records what
// would have been dragged and answers with the target's action as told.
class TRecordingDrags
{
public:
    struct TDrag
    {
        QList<QUrl> Urls;
        std::string CopiedFiles;
        Qt::DropActions Allowed;
    };

    TRecordingDrags()
    {
        host::SetDragRunner([this](const host::DragRequest& request) {
            Drags.push_back(
                {request.Data->urls(), request.Data->data(host::CopiedFilesFormat).toStdString(), request.Allowed});
            if (During)
                During(request);
            return Answer;
        });
    }
    ~TRecordingDrags() { host::SetDragRunner({}); }
    TRecordingDrags(const TRecordingDrags&) = delete;
    TRecordingDrags& operator=(const TRecordingDrags&) = delete;

    std::vector<TDrag> Drags;
    // What the target did.
    Qt::DropAction Answer = Qt::IgnoreAction;
    // Runs while the drag is on, as the user moves over targets.
    std::function<void(const host::DragRequest&)> During;
};
