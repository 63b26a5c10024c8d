package tvbench;

import Norv1.LocalIface;
import Norv1.LocalIface.certificate_t;
import Norv1.LocalIface.find_param_t;
import Norv1.LocalIface.find_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.verify_param_t;
import Norv1.LocalIface.verify_result_t;

/**
 * One case, called N times through the bridge and N times through the floor, for a profiler
 * (valgrind --tool=callgrind --toggle-collect=..., perf record): hash32, hash1m, verify, find or
 * parse.
 */
public final class Profile {

  public static void main(String[] args) throws Exception {
    String which = args[0];
    int n = Integer.parseInt(args[1]);
    LocalIface lib = new LocalIface();
    Bench.check(LocalIface.QUMENJNI_InitMinimal(lib));
    Floor.program();
    mem_blk_t small = new mem_blk_t(new byte[32]);
    mem_blk_t large = new mem_blk_t(new byte[1 << 20]);
    mem_blk_t out = new mem_blk_t();
    mem_blk_t signed = new mem_blk_t();
    Bench.check(
      LocalIface.QUMENJNI_SignMem(
        lib,
        new LocalIface.sign_param_t(),
        new mem_blk_t(new byte[64]),
        null,
        signed
      )
    );
    verify_param_t vparam = new verify_param_t();
    verify_result_t vresult = new verify_result_t();
    find_param_t fparam = new find_param_t();
    find_result_t fresult = new find_result_t();
    mem_blk_t encoded = new mem_blk_t(new byte[40]);
    certificate_t cert = new certificate_t();
    for (int side = 0; side < 2; side++) {
      for (int i = 0; i < n; i++) {
        int status;
        switch (which) {
          case "hash32":
            status =
              side == 0
                ? LocalIface.QUMENJNI_HashMem(lib, small, out)
                : Floor.hashMem(lib, small, out);
            break;
          case "hash1m":
            status =
              side == 0
                ? LocalIface.QUMENJNI_HashMem(lib, large, out)
                : Floor.hashMem(lib, large, out);
            break;
          case "verify":
            status =
              side == 0
                ? LocalIface.QUMENJNI_VerifyMem(lib, vparam, signed, null, out, vresult)
                : Floor.verifyMem(lib, vparam, signed, null, out, vresult);
            break;
          case "find":
            status =
              side == 0
                ? LocalIface.QUMENJNI_FindCert(lib, fparam, fresult)
                : Floor.findCert(lib, fparam, fresult);
            break;
          case "parse":
            status =
              side == 0
                ? LocalIface.QUMENJNI_ParseCert(lib, encoded, 0, cert)
                : Floor.parseCert(lib, encoded, 0, cert);
            break;
          default:
            throw new IllegalArgumentException(which);
        }
        Bench.check(status);
      }
    }
    Bench.check(LocalIface.QUMENJNI_Uninitialize(lib));
  }
}
