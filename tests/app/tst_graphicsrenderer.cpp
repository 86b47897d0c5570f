#include "app/GraphicsRenderer.h"

#include <QOpenGLContext>
#include <QTest>

using namespace clipnab;

class GraphicsRendererTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void isSoftware_data();
    void isSoftware();
    void noNameWithoutAContext();
};

void GraphicsRendererTest::isSoftware_data()
{
    QTest::addColumn<QByteArray>("renderer");
    QTest::addColumn<bool>("software");
    QTest::newRow("llvmpipe") << QByteArray("llvmpipe (LLVM 15.0.6, 256 bits)") << true;
    QTest::newRow("softpipe") << QByteArray("softpipe") << true;
    QTest::newRow("old Mesa") << QByteArray("Software Rasterizer") << true;
    QTest::newRow("swrast, any case") << QByteArray("Gallium 0.4 on SWRAST") << true;
    QTest::newRow("none") << QByteArray() << true;
    QTest::newRow("blank") << QByteArray("  ") << true;
    QTest::newRow("Intel") << QByteArray("Mesa Intel(R) UHD Graphics 620 (KBL GT2)") << false;
    QTest::newRow("AMD") << QByteArray("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)")
                         << false;
    QTest::newRow("NVIDIA") << QByteArray("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2") << false;
    QTest::newRow("virtual GPU") << QByteArray("virgl (Intel(R) UHD Graphics 620)") << false;
}

void GraphicsRendererTest::isSoftware()
{
    QFETCH(QByteArray, renderer);
    QFETCH(bool, software);
    QCOMPARE(GraphicsRenderer::isSoftware(renderer), software);
}

void GraphicsRendererTest::noNameWithoutAContext()
{
    // A context that was never made, as where the platform has no OpenGL.
    QOpenGLContext context;
    QCOMPARE(GraphicsRenderer::name(context), QByteArray());
}

QTEST_MAIN(GraphicsRendererTest)
#include "tst_graphicsrenderer.moc"
