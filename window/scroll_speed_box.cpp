#include "window/scroll_speed_box.h"

#include "generation/board_timing.h"
#include "generation/marquee_shape.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace window {

ScrollSpeedBox::ScrollSpeedBox(QWidget* parent)
    : QWidget(parent)
{
    using generation::MarqueeShape;
    m_frames = new QSpinBox(this);
    m_frames->setObjectName(QStringLiteral("stepFrames"));
    m_frames->setRange(MarqueeShape::kMinStepFrames, MarqueeShape::kMaxStepFrames);
    m_frames->setValue(MarqueeShape::kMarqueeFrames);
    m_frames->setAccessibleName(tr("捲動速度（每欄畫面數）"));
    m_frames->setToolTip(tr("跑馬燈每往左移一欄要顯示幾個畫面（%1 到 %2，預設 %3）；數字越大捲得越慢。"
                            "之後產生、寫入或上傳的程式都用這個速度。")
                             .arg(MarqueeShape::kMinStepFrames)
                             .arg(MarqueeShape::kMaxStepFrames)
                             .arg(MarqueeShape::kMarqueeFrames));
    m_label = new QLabel(tr("捲動速度：每欄"), this);
    m_label->setBuddy(m_frames);
    m_meaning = new QLabel(describe(m_frames->value()), this);
    m_meaning->setObjectName(QStringLiteral("stepFramesMeaning"));
    // Its text is its name for a screen reader, which hears each change.
    m_meaning->setAccessibleDescription(tr("捲動速度說明"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(m_label);
    row->addWidget(m_frames);
    row->addWidget(m_meaning, 1);

    connect(m_frames, &QSpinBox::valueChanged, this, [this](int frames) {
        m_meaning->setText(describe(frames));
        emit stepFramesChanged(frames);
    });
}

QWidget* ScrollSpeedBox::focusTarget() const
{
    return m_frames;
}

QString ScrollSpeedBox::describe(int stepFrames)
{
    const double seconds =
        generation::MarqueeShape::kCharacterColumns * generation::BoardTiming::panelSketch().marqueeStepMicroseconds(stepFrames) / 1e6;
    return tr("個畫面，每個中文字約 %1 秒").arg(seconds, 0, 'f', 2);
}

} // namespace window
