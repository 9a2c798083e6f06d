// Opens a float TIFF as ImageJ opens it and prints the value unit, the number of pages and the
// value of one pixel of the first page: "unit=U pages=N value=V".
// java -Djava.awt.headless=true -cp ij.jar ReadTemperatureMap.java FILE X Y
import ij.IJ;
import ij.ImagePlus;

public class ReadTemperatureMap {
  public static void main(String[] args) {
    ImagePlus image = IJ.openImage(args[0]);
    if (image == null) {
      System.out.println("unreadable");
      System.exit(1);
    }
    float value = image.getStack().getProcessor(1).getPixelValue(Integer.parseInt(args[1]), Integer.parseInt(args[2]));
    System.out.println("unit=" + image.getCalibration().getValueUnit() + " pages=" + image.getStackSize() +
                       " value=" + value);
    System.exit(0);
  }
}
