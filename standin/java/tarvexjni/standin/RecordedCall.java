package tarvexjni.standin;

import java.nio.ByteBuffer;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * One call of the library, as the stand-in received it: which function, on which thread, how it
 * ended, and its arguments as they were when the library was called. Immutable; from
 * {@link StandIn#recordedCalls()}.
 *
 * <p>The arguments come by kind, each list in the order of the function's parameters (see its
 * {@link LibraryFunction} constant): {@link #blocks()} every {@code mem_blk_t} (an output block
 * arrives empty, with length 0), {@link #texts()} every {@code string_t}, {@link #numbers()}
 * every {@code int32_t} and {@code int64_t} (and the value of an {@code int32_t*} state word),
 * {@link #handles()} every stream, session or enumeration handle, and {@link #records()} the
 * fields of every parameter record (not those of the results the library fills). The context
 * is {@link #context()}.
 */
public final class RecordedCall {

  private static final int RUNNING = 0;
  private static final int FAULTED = 2;

  private final long number;
  private final LibraryFunction function;
  private final long thread;
  private final String threadName;
  private final long context;
  private final int end;
  private final int status;
  private final List<BlockArgument> blocks = new ArrayList<>();
  private final List<String> texts = new ArrayList<>();
  private final List<Long> numbers = new ArrayList<>();
  private final List<Long> handles = new ArrayList<>();
  private final Map<String, Map<String, Object>> records = new LinkedHashMap<>();

  private RecordedCall(
    long number,
    LibraryFunction function,
    long thread,
    String threadName,
    long context,
    int end,
    int status
  ) {
    this.number = number;
    this.function = function;
    this.thread = thread;
    this.threadName = threadName;
    this.context = context;
    this.end = end;
    this.status = status;
  }

  /**
   * A block the library received: its {@code len} and, when {@link StandIn#recordBytes()} asked
   * for them, its bytes.
   */
  public static final class BlockArgument {

    private final int length;
    private final byte[] bytes;

    private BlockArgument(int length, byte[] bytes) {
      this.length = length;
      this.bytes = bytes;
    }

    /**
     * The block's {@code len} as the library received it (0 for an output block, and for a
     * block Java passed as null).
     *
     * @return the length
     */
    public int length() {
      return length;
    }

    /**
     * Whether the bytes were recorded: {@link StandIn#recordBytes()} was in force and the block
     * had bytes.
     *
     * @return true when {@link #bytes()} has them
     */
    public boolean bytesRecorded() {
      return bytes != null;
    }

    /**
     * The block's bytes.
     *
     * @return a copy of the {@code len} bytes the library received
     * @throws IllegalStateException when they were not recorded: call {@link StandIn#recordBytes()}
     *     before the call
     */
    public byte[] bytes() {
      if (bytes == null) {
        throw new IllegalStateException(
          length > 0
            ? "the bytes of this block were not recorded: call" +
                " StandIn.recordBytes() before the call"
            : "this block had no bytes"
        );
      }
      return bytes.clone();
    }

    /**
     * Its length, as messages show it.
     *
     * @return "12 bytes"
     */
    @Override
    public String toString() {
      return length + (length == 1 ? " byte" : " bytes");
    }
  }

  /**
   * The call's number among the calls since the last {@link StandIn#reset()}, memory functions
   * included: the first call is 1. Messages show it as {@code #1}. Where the log dropped the
   * oldest calls (it keeps the last 10000, see {@link StandIn}), the first it holds has a higher
   * number.
   *
   * @return the number
   */
  public long number() {
    return number;
  }

  /**
   * The function called.
   *
   * @return the function
   */
  public LibraryFunction function() {
    return function;
  }

  /**
   * The thread that made the call: its id ({@code Thread.getId()}), a virtual thread's own.
   *
   * @return the thread, as {@link StandIn#thisThread()} gives it
   */
  public long thread() {
    return thread;
  }

  /**
   * The name the thread that made the call had then.
   *
   * @return the name; empty for a thread without one (a virtual thread, unless named) and where
   *     the stand-in numbers operating-system threads (see {@link StandIn#thisThread()})
   */
  public String threadName() {
    return threadName;
  }

  /**
   * Whether the calling thread made this call.
   *
   * @return true when {@link #thread()} is the calling thread's
   */
  public boolean onThisThread() {
    return thread == StandIn.thisThread();
  }

  /**
   * The context the call received (the {@code handle} of the {@code LocalIface} used).
   *
   * @return the context; 0 for the functions that take none
   */
  public long context() {
    return context;
  }

  /**
   * What the call returned: its status; for {@code AllocMem} and {@code GetErrorText}, which
   * answer with a pointer, 0 for a pointer and -1 for null; for a call that raised a machine
   * fault, the fault's code as the bridge reports it ({@code 0xC0000005}, ...); 0 while the call
   * is still running on another thread.
   *
   * @return the status
   */
  public int status() {
    return status;
  }

  /**
   * Whether the call returned (it did not raise a fault, and is not still running).
   *
   * @return true when it returned
   */
  public boolean returned() {
    return end != RUNNING && end != FAULTED;
  }

  /**
   * Whether the call raised a machine fault, as programmed with {@link StandIn.Fault}.
   *
   * @return true when it did
   */
  public boolean faulted() {
    return end == FAULTED;
  }

  /**
   * The blocks the call received, in parameter order.
   *
   * @return the blocks
   */
  public List<BlockArgument> blocks() {
    return Collections.unmodifiableList(blocks);
  }

  /**
   * The texts the call received, in parameter order; null for a null text (the bridge passes an
   * empty Java string as null too). Each byte is one character.
   *
   * @return the texts
   */
  public List<String> texts() {
    return Collections.unmodifiableList(texts);
  }

  /**
   * The numbers the call received, in parameter order: flags, selectors, counts, sizes and the
   * value of a state word.
   *
   * @return the numbers
   */
  public List<Long> numbers() {
    return Collections.unmodifiableList(numbers);
  }

  /**
   * The stream, session and enumeration handles the call received, in parameter order (for an
   * Init stage or a first enumeration step, the 0 it starts from).
   *
   * @return the handles
   */
  public List<Long> handles() {
    return Collections.unmodifiableList(handles);
  }

  /**
   * The parameter records the call received, by their type's name
   * ({@code "verify_param_t"}), each as in {@link #record(String)}.
   *
   * @return the records
   */
  public Map<String, Map<String, Object>> records() {
    return Collections.unmodifiableMap(records);
  }

  /**
   * The fields of one parameter record the call received, named as in its Java class, nested
   * records and array elements by path: {@code "flag"}, {@code "certTemplate.subject"},
   * {@code "policies[0].oid"}, {@code "certTemplate.certEncoded.len"}. A number is an
   * {@link Integer}, or a {@link Long} for a time (a name ending in {@code Ex}); a text is a
   * {@link String} or null.
   *
   * @param type the record's type, e.g. {@code "find_param_t"}
   * @return its fields, in the record's order
   * @throws IllegalArgumentException when the call received no such record, naming those it did
   */
  public Map<String, Object> record(String type) {
    Map<String, Object> fields = records.get(type);
    if (fields == null) {
      throw new IllegalArgumentException(
        function +
          " received no " +
          type +
          "; it received " +
          (records.isEmpty() ? "no parameter record" : records.keySet())
      );
    }
    return fields;
  }

  /**
   * The call as messages show it: number, function, thread, status and the arguments it received
   * (of a record, the fields that are not 0 or null).
   *
   * @return the description
   */
  @Override
  public String toString() {
    return describe();
  }

  String describe() {
    StringBuilder text = new StringBuilder("#")
      .append(number)
      .append(' ')
      .append(function)
      .append('(');
    List<String> args = new ArrayList<>();
    if (!blocks.isEmpty()) args.add("blocks " + blocks);
    if (!texts.isEmpty()) {
      List<String> quoted = new ArrayList<>();
      for (String t : texts) quoted.add(t == null ? "null" : '"' + t + '"');
      args.add("texts " + quoted);
    }
    if (!numbers.isEmpty()) args.add("numbers " + numbers);
    if (!handles.isEmpty()) {
      List<String> hex = new ArrayList<>();
      for (long h : handles) hex.add("0x" + Long.toHexString(h));
      args.add("handles " + hex);
    }
    records.forEach((type, fields) -> {
      List<String> set = new ArrayList<>();
      fields.forEach((name, value) -> {
        if (value instanceof String s) set.add(name + "=\"" + s + '"');
        else if (value != null && ((Number) value).longValue() != 0) set.add(name + "=" + value);
      });
      args.add(type + "{" + String.join(", ", set) + "}");
    });
    text
      .append(String.join(", ", args))
      .append(") on ")
      .append(StandIn.threadName(thread, threadName));
    if (end == RUNNING) return text.append(": still running").toString();
    return text
      .append(end == FAULTED ? ": fault " : ": ")
      .append(StandIn.status(status))
      .toString();
  }

  // ---- Reading the log (recording.cpp writes it) ------------------------------------------------

  static Calls decode(byte[] encoded) {
    ByteBuffer in = ByteBuffer.wrap(encoded);
    int count = in.getInt();
    long first = in.getLong();
    List<RecordedCall> calls = new ArrayList<>(count);
    for (int i = 0; i < count; i++) {
      LibraryFunction function = LibraryFunction.of(text(in).substring("QUMEN_".length()));
      long thread = in.getLong();
      String threadName = text(in);
      RecordedCall call = new RecordedCall(
        first + i,
        function,
        thread,
        threadName,
        in.getLong(),
        in.get(),
        in.getInt()
      );
      int args = in.getInt();
      for (int a = 0; a < args; a++) call.read(in);
      calls.add(call);
    }
    return new Calls(calls, "", first - 1);
  }

  private void read(ByteBuffer in) {
    switch (in.get()) {
      case 1 -> {
        int length = in.getInt();
        int recorded = in.getInt();
        byte[] bytes = null;
        if (recorded >= 0) {
          bytes = new byte[recorded];
          in.get(bytes);
        }
        blocks.add(new BlockArgument(length, bytes));
      }
      case 2 -> texts.add(text(in));
      case 3 -> numbers.add(in.getLong());
      case 4 -> handles.add(in.getLong());
      case 5 -> {
        String type = text(in);
        Map<String, Object> fields = new LinkedHashMap<>();
        int count = in.getInt();
        for (int f = 0; f < count; f++) {
          String name = text(in);
          if (in.get() == 2) {
            fields.put(name, text(in));
          } else {
            long value = in.getLong();
            fields.put(name, name.endsWith("Ex") ? (Object) value : (Object) (int) value);
          }
        }
        records.put(type, Collections.unmodifiableMap(fields));
      }
      default -> throw new IllegalStateException("the stand-in's call log is damaged");
    }
  }

  private static String text(ByteBuffer in) {
    int length = in.getInt();
    if (length < 0) return null;
    byte[] bytes = new byte[length];
    in.get(bytes);
    return new String(bytes, StandardCharsets.ISO_8859_1);
  }
}
