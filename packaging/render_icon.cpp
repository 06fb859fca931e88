// Renders the application icon into the PNG sizes of the icon theme:
//   render_icon SVG_FILE OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/<size>x<size>/apps/org.norvane.Norvane.png for each size. Run by the build; never
// installed.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: render_icon SVG_FILE OUTPUT_FOLDER SIZE...\n");
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: %s is not a usable SVG file\n", argv[1]);
    return 1;
  }
  const QDir output(QString::fromLocal8Bit(argv[2]));
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLocal8Bit(argv[i]).toInt();
    if (size <= 0 || size > 1024) {
      std::fprintf(stderr, "render_icon: %s is not an icon size\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter);
    }
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    if (!output.mkpath(folder) || !image.save(output.filePath(folder + "/org.norvane.Norvane.png"), "PNG")) {
      std::fprintf(stderr, "render_icon: cannot write the %dx%d icon in %s\n", size, size, argv[2]);
      return 1;
    }
  }
  return 0;
}
