package tvload;

/**
 * A host that loads the bridge by its path itself, without tarvexjni.jar (so without its loader
 * to activate the bridge), then says which libraries hold the SIGSEGV and SIGBUS handlers.
 * Argument: the bridge's path.
 */
public final class Direct {

  public static void main(String[] args) {
    System.load(args[0]);
    handlers();
  }

  /** "SIGSEGV <library or default>, SIGBUS <...>"; bound by the library that handlers() loads. */
  static native String handlers0();

  /**
   * Prints which libraries hold the SIGSEGV and SIGBUS handlers, as the library named by the
   * system property {@code tvload.handlers} finds them.
   */
  static void handlers() {
    System.load(System.getProperty("tvload.handlers"));
    System.out.println("handlers: " + handlers0());
  }
}
